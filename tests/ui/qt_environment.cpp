// One QApplication for the whole test program, made before the first test runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class QtEnvironment : public testing::Environment {
  public:
    void SetUp() override { app_ = std::make_unique<QApplication>(argc_, argv_); }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[16] = "korvane_ui";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// gtest takes ownership of the environment.
[[maybe_unused]] testing::Environment* const kQtEnvironment =
    testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORVANE_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(KORVANE_TSAN)
// Qt is not built with ThreadSanitizer: its image thread pool and wait conditions look racy
// through the interceptors. Accesses made by our own code are still checked.
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif
