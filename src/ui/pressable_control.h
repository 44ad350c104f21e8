#pragma once

#include "ui/control.h"

namespace korvane::ui {

// Base of the controls that click like a push button: a left press taken by the control and
// released over it is a click. Keeps the pressed and hover state for painting and repaints
// when either changes. Drawn without a system background; takes no keyboard focus.
class PressableControl : public Control {
    Q_OBJECT
  public:
    explicit PressableControl(QWidget* parent = nullptr);

  protected:
    bool Pressed() const { return pressed_; }
    bool Hovered() const { return hover_; }
    // Drops a press in progress, so the release that follows is no click.
    void ForgetPress() { pressed_ = false; }

    // A completed click.
    virtual void OnClick() = 0;
    // Whether a left press is taken now; one that is not passes on to the widget below.
    virtual bool TakesPress() const { return true; }
    // The pointer entered (true) or left (false) the control.
    virtual void OnHover(bool entered);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    bool hover_ = false;
    bool pressed_ = false;
};

}  // namespace korvane::ui
