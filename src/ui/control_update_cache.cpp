#include "ui/control_update_cache.h"

#include <QApplication>
#include <QThread>
#include <QWidget>

namespace korvane::ui {
namespace {

void RepaintWindows() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->update();
        }
    }
}

}  // namespace

void ControlUpdateCache() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    if (QThread::currentThread() == app->thread()) {
        RepaintWindows();
    } else {
        QMetaObject::invokeMethod(app, &RepaintWindows, Qt::QueuedConnection);
    }
}

}  // namespace korvane::ui
