#include "ui/control.h"

#include <QEvent>
#include <QThread>
#include <algorithm>

#include "ui/window_ex.h"

namespace korvane::ui {

void ControlRef::SetLeft(int left) {
    const std::lock_guard lock(mutex_);
    if (control_ != nullptr) {
        control_->SetLeft(left);
    }
}

void ControlRef::SetTop(int top) {
    const std::lock_guard lock(mutex_);
    if (control_ != nullptr) {
        control_->SetTop(top);
    }
}

Control::Control(QWidget* parent) : QWidget(parent), ref_(std::make_shared<ControlRef>()) {
    ref_->control_ = this;
}

Control::~Control() {
    // Waits for a writer that is posting right now; events it posted die with this object.
    const std::lock_guard lock(ref_->mutex_);
    ref_->control_ = nullptr;
}

namespace {

bool OnOwnThread(const QObject& object) {
    return QThread::currentThread() == object.thread();
}

}  // namespace

void Control::SetLeft(int left) {
    if (OnOwnThread(*this)) {
        ApplyLeft(left);
    } else {
        QMetaObject::invokeMethod(
            this, [this, left] { ApplyLeft(left); }, Qt::QueuedConnection);
    }
}

void Control::SetTop(int top) {
    if (OnOwnThread(*this)) {
        ApplyTop(top);
    } else {
        QMetaObject::invokeMethod(
            this, [this, top] { ApplyTop(top); }, Qt::QueuedConnection);
    }
}

void Control::SetWidth(int width) {
    if (OnOwnThread(*this)) {
        ApplyWidth(width);
    } else {
        QMetaObject::invokeMethod(
            this, [this, width] { ApplyWidth(width); }, Qt::QueuedConnection);
    }
}

void Control::SetHeight(int height) {
    if (OnOwnThread(*this)) {
        ApplyHeight(height);
    } else {
        QMetaObject::invokeMethod(
            this, [this, height] { ApplyHeight(height); }, Qt::QueuedConnection);
    }
}

void Control::SetRect(int left, int top, int width, int height) {
    SetLeft(left);
    SetTop(top);
    SetWidth(width);
    SetHeight(height);
}

void Control::ApplyLeft(int left) {
    move(left, y());
    emit moved(x(), y());
}

void Control::ApplyTop(int top) {
    move(x(), top);
    emit moved(x(), y());
}

void Control::ApplyWidth(int width) {
    resize(std::max(width, 0), height());
}

void Control::ApplyHeight(int height) {
    resize(width(), std::max(height, 0));
}

void Control::SetSpokenName(const QString& name) {
    spokenName_ = name;
    UpdateSpokenName();
}

void Control::CaptionChanged(const QString& caption) {
    caption_ = caption;
    UpdateSpokenName();
}

void Control::UpdateSpokenName() {
    const QString& name = caption_.isEmpty() ? spokenName_ : caption_;
    if (name != accessibleName()) {
        setAccessibleName(name);
        SpokenNameChanged(name);
    }
}

void Control::SpokenNameChanged(const QString&) {}

void Control::InsertInto(WindowEx& frame) {
    QWidget* surface = frame.Surface();
    if (surface == nullptr || surface == parentWidget()) {
        return;
    }
    if (home_ == nullptr) {
        home_ = window();
        if (home_ != nullptr && home_ != this) {
            home_->installEventFilter(this);
            connect(home_, &QObject::destroyed, this, [this] {
                home_ = nullptr;
                hide();
                deleteLater();
            });
        } else {
            home_ = nullptr;
        }
    }
    setParent(surface);  // leaves the control hidden until shown
    move(0, 0);
    raise();
}

bool Control::eventFilter(QObject* watched, QEvent* event) {
    if (watched == home_ && event->type() == QEvent::Hide) {
        hide();
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace korvane::ui
