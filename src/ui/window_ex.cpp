#include "ui/window_ex.h"

#include "ui/form_window.h"

namespace korvane::ui {

WindowEx::WindowEx(QWidget* parent) : Control(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
}

FormWindow* WindowEx::Form() const {
    return qobject_cast<FormWindow*>(window());
}

int WindowEx::FormWidth() const {
    return Surface() != nullptr ? Surface()->width() : 0;
}

int WindowEx::FormHeight() const {
    return Surface() != nullptr ? Surface()->height() : 0;
}

}  // namespace korvane::ui
