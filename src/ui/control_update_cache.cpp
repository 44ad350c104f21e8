#include "ui/control_update_cache.h"

#include <QApplication>
#include <QThread>
#include <QWidget>
#include <mutex>

namespace korvane::ui {
namespace {

// The application that timer threads post repaints to. Set when an application object is made
// and cleared from its destructor before it tears anything down, both on the GUI thread and
// under the mutex; a post made under the mutex therefore always reaches a live object.
// Constant-initialised, so it is there before and after every application.
constinit std::mutex appMutex;
constinit QCoreApplication* liveApp = nullptr;  // guarded by appMutex

void ForgetApplication() {
    const std::lock_guard lock(appMutex);
    liveApp = nullptr;
}

void WatchApplication() {
    const std::lock_guard lock(appMutex);
    liveApp = QCoreApplication::instance();
    // Post routines run once per application object: each new one registers again.
    qAddPostRoutine(&ForgetApplication);
}

// Runs in every application constructor, or at once if an application already exists.
Q_COREAPP_STARTUP_FUNCTION(WatchApplication)

void RepaintWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->update();
        }
    }
}

}  // namespace

void ControlUpdateCache() {
    std::unique_lock lock(appMutex);
    if (liveApp == nullptr) {
        return;
    }
    if (QThread::currentThread() == liveApp->thread()) {
        // The application dies on this thread, so it outlives this call without the lock.
        lock.unlock();
        RepaintWindows();
    } else {
        // Posting only queues an event; the GUI thread never waits on us while holding the lock.
        QMetaObject::invokeMethod(liveApp, &RepaintWindows, Qt::QueuedConnection);
    }
}

}  // namespace korvane::ui
