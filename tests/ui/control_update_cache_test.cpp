// Its own program: these tests make and destroy application objects themselves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QTest>
#include <atomic>
#include <thread>

#include "ui/control_update_cache.h"

namespace korvane::ui {
namespace {

// Counts the queued calls that reach the application object.
class QueuedCallCounter : public QObject {
  public:
    explicit QueuedCallCounter(QObject& app) : app_(app) { app_.installEventFilter(this); }
    int Calls() const { return calls_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        calls_ += watched == &app_ && event->type() == QEvent::MetaCall;
        return false;
    }

  private:
    QObject& app_;
    int calls_ = 0;
};

// Every application object gets the requests made from other threads while it lives; one
// going away while a thread keeps asking, and requests with none alive, are harmless.
TEST(ControlUpdateCacheTest, RequestsFromOtherThreadsFollowTheLiveApplication) {
    for (int round = 0; round < 2; ++round) {
        std::atomic<bool> stop = false;
        std::thread asker;
        {
            int argc = 1;
            char name[] = "korvane_ui";
            char* argv[] = {name, nullptr};
            QApplication app(argc, argv);
            QueuedCallCounter counter(app);
            std::thread([] { ControlUpdateCache(); }).join();
            QTRY_VERIFY(counter.Calls() > 0);
            asker = std::thread([&stop] {
                while (!stop) {
                    ControlUpdateCache();
                }
            });
        }
        stop = true;
        asker.join();
    }
    std::thread([] { ControlUpdateCache(); }).join();
}

}  // namespace
}  // namespace korvane::ui
