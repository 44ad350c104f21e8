#include "ui/pressable_control.h"

#include <QMouseEvent>

namespace korvane::ui {

PressableControl::PressableControl(QWidget* parent) : Control(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

void PressableControl::OnHover(bool) {}

void PressableControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !TakesPress()) {
        event->ignore();
        return;
    }
    pressed_ = true;
    update();
    event->accept();
}

void PressableControl::mouseReleaseEvent(QMouseEvent* event) {
    if (!pressed_) {
        event->ignore();
        return;
    }
    pressed_ = false;
    update();
    event->accept();
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        OnClick();
    }
}

void PressableControl::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    OnHover(true);
    Control::enterEvent(event);
}

void PressableControl::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    OnHover(false);
    Control::leaveEvent(event);
}

}  // namespace korvane::ui
