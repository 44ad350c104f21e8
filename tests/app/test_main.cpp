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
