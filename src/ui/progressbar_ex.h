#pragma once

#include <cstdint>

#include "ui/control.h"

namespace korvane::ui {

// A progress display: a rounded bar, or a ring (round style) with the value in its centre
// when ShowText is on. Values are clamped to 0..100.
class ProgressbarEx : public Control {
    Q_OBJECT
  public:
    enum Style : int { kBar = 0, kRound = 1 };

    explicit ProgressbarEx(QWidget* parent = nullptr);

    void SetStyle(int style);
    int Style() const { return style_; }
    void SetValue(int value);
    int Value() const { return value_; }
    void SetColour(std::uint32_t argb);
    void SetShowText(bool show);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int style_ = kBar;
    int value_ = 0;
    std::uint32_t colour_;
    bool showText_ = false;
};

}  // namespace korvane::ui
