#include "ui/busy_pointer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

#ifdef KORVANE_UI_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace korvane::ui {
namespace {

// Sends the pointer change to the X server now: the thread is about to block, and Qt would
// only flush its requests when the event loop runs again. Nothing is read or dispatched.
void FlushWindowSystem() {
#ifdef KORVANE_UI_HAVE_XCB
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (xcb_connection_t* connection = x11->connection()) {
            xcb_flush(connection);
        }
    }
#endif
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

class InputSwallower : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override { return IsUserInput(event->type()); }
};

// Long enough to take in everything that queued during a call, short enough that a stream of
// other events cannot hold the handler up.
constexpr int kDrainLimitMs = 100;

// Handles what queued up while the thread was blocked, with user input thrown away. Timers
// wait for the event loop, so no window timer ticks in the middle of a handler.
void DropQueuedInput() {
    auto* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    InputSwallower swallower;
    application->installEventFilter(&swallower);
    QCoreApplication::processEvents(
        QEventLoop::ExcludeSocketNotifiers | QEventLoop::X11ExcludeTimers, kDrainLimitMs);
    application->removeEventFilter(&swallower);
}

bool HaveGuiApplication() {
    return qGuiApp != nullptr;
}

}  // namespace

BusyPointer::BusyPointer() {
    if (!HaveGuiApplication()) {
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    FlushWindowSystem();
}

BusyPointer::~BusyPointer() {
    if (!HaveGuiApplication()) {
        return;
    }
    DropQueuedInput();
    QGuiApplication::restoreOverrideCursor();
    FlushWindowSystem();
}

NormalPointer::NormalPointer() {
    if (!HaveGuiApplication() || QGuiApplication::overrideCursor() == nullptr) {
        return;
    }
    QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    FlushWindowSystem();
    pushed_ = true;
}

NormalPointer::~NormalPointer() {
    if (!pushed_) {
        return;
    }
    QGuiApplication::restoreOverrideCursor();
    FlushWindowSystem();
}

}  // namespace korvane::ui
