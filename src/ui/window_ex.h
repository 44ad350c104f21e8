#pragma once

#include "ui/control.h"

namespace korvane::ui {

class FormWindow;

// The window frame control of a form: it draws nothing and takes no mouse input; it stands
// for its window, e.g. as the owner a message window puts its mask into.
class WindowEx : public Control {
    Q_OBJECT
  public:
    explicit WindowEx(QWidget* parent = nullptr);

    // The surface the frame sits on, where inserted controls go.
    QWidget* Surface() const { return parentWidget(); }
    // The window of the frame, or nullptr when it is not on a FormWindow.
    FormWindow* Form() const;
    // Size of the window's surface, what "the window's width and height" means to handlers.
    int FormWidth() const;
    int FormHeight() const;
};

}  // namespace korvane::ui
