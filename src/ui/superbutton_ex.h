#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <string>

#include "ui/pressable_control.h"

namespace korvane::ui {

// A navigation button: icon and caption on a row; the selected one sits on a tinted rounded
// plate with an accent bar. Selecting does not touch the text colour or icon; the window's
// handler sets those.
class SuperbuttonEx : public PressableControl {
    Q_OBJECT
  public:
    explicit SuperbuttonEx(QWidget* parent = nullptr);

    void SetIcon(const QImage& icon);
    void SetIconPath(const QString& path);
    const QImage& Icon() const { return icon_; }

    void SetCaption(const std::string& clientText);
    std::string Caption() const;
    void SetCaptionQ(const QString& caption);
    const QString& CaptionQ() const { return caption_; }

    void SetTextColour(std::uint32_t argb);
    std::uint32_t TextColour() const { return textColour_; }

    void SetSelected(bool selected);
    bool Selected() const { return selected_; }

    void SetFontPixelSize(int pixels);

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void OnClick() override { emit clicked(); }

  private:
    QImage icon_;
    QPixmap scaled_;  // icon_ at the drawn size and pixel ratio
    QString caption_;
    std::uint32_t textColour_;
    int pixelSize_ = 16;
    bool selected_ = false;
};

}  // namespace korvane::ui
