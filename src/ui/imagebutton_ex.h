#pragma once

#include <QImage>
#include <QPixmap>

#include "ui/pressable_control.h"

namespace korvane::ui {

// A button that is only a picture, scaled smoothly into its box; a soft round highlight
// shows hover and press.
class ImagebuttonEx : public PressableControl {
    Q_OBJECT
  public:
    explicit ImagebuttonEx(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    void SetImagePath(const QString& path);
    const QImage& Image() const { return image_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void OnClick() override { emit clicked(); }

  private:
    QImage image_;
    QPixmap scaled_;  // image_ at the current size and pixel ratio
};

}  // namespace korvane::ui
