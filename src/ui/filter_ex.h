#pragma once

#include "ui/control.h"

namespace korvane::ui {

// An overlay that veils what lies below it inside a window, rounded like the window, and
// swallows the mouse. Effect 0 dims with a dark veil; any other effect gives a light frosted
// veil. Layer 1 or more puts the overlay above every other control of its window (again on
// each call); 0 leaves the stacking alone. Typically: InsertInto(owner frame), SetRect to
// the window's size, show(), SetLayer(2).
class FilterEx : public Control {
    Q_OBJECT
  public:
    explicit FilterEx(QWidget* parent = nullptr);

    void SetEffect(int effect);
    int Effect() const { return effect_; }
    void SetLayer(int layer);
    int Layer() const { return layer_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int effect_ = 0;
    int layer_ = 0;
};

}  // namespace korvane::ui
