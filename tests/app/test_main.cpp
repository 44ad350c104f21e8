#include <gtest/gtest.h>
#include <QApplication>

#include "app/assets.h"

// The windows need one application object for the whole test program.
int main(int argc, char** argv) {
    // Listing the tests at build time happens without the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QApplication application(argc, argv);
    korvane::app::LoadAssets();
    return RUN_ALL_TESTS();
}

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORVANE_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(KORVANE_TSAN)
// Qt is not built with ThreadSanitizer: its image thread pool and event queue look racy
// through the interceptors. Accesses made by our own code are still checked.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif
