#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "ui/pressable_control.h"

namespace korvane::ui {

// A text label. Left-aligned, vertically centred, wrapping at word boundaries (between any
// two CJK characters). Takes clicks only while clicked() is connected; hovered() is reported
// always.
class LabelEx : public PressableControl {
    Q_OBJECT
  public:
    explicit LabelEx(QWidget* parent = nullptr);

    void SetText(const std::string& clientText);
    std::string Text() const;
    void SetTextQ(const QString& text);
    const QString& TextQ() const { return text_; }

    // Family as client text ("微软雅黑" in code page 936); installed CJK fonts back it up.
    void SetFontFamily(const std::string& clientFamily);
    void SetFontPixelSize(int pixels);
    int FontPixelSize() const { return pixelSize_; }

    void SetColour(std::uint32_t argb);
    std::uint32_t Colour() const { return colour_; }

    // Fill behind the text; 0 (the default) is none. A label used as a mask sets one.
    void SetBackground(std::uint32_t argb);
    void SetAlignment(Qt::Alignment alignment);

  signals:
    void clicked();
    // true when the pointer enters the label, false when it leaves.
    void hovered(bool entered);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;
    void OnClick() override { emit clicked(); }
    bool TakesPress() const override;
    void OnHover(bool entered) override { emit hovered(entered); }

  private:
    QString text_;
    QString family_;
    int pixelSize_ = 14;
    std::uint32_t colour_;
    std::uint32_t background_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
};

}  // namespace korvane::ui
