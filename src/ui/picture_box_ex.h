#pragma once

#include <QImage>
#include <QPixmap>

#include "ui/control.h"

namespace korvane::ui {

// A picture scaled smoothly into the box, aspect ratio kept, centred. It takes clicks only
// while something is connected to clicked(); otherwise presses fall through to the window,
// which can then be dragged by the picture.
class PictureBoxEx : public Control {
    Q_OBJECT
  public:
    explicit PictureBoxEx(QWidget* parent = nullptr);

    void SetPicture(const QImage& picture);
    // Loads with LoadPicture; a missing picture leaves the box empty.
    void SetPicturePath(const QString& path);
    void ClearPicture() { SetPicture(QImage()); }
    const QImage& Picture() const { return picture_; }

  signals:
    void clicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void connectNotify(const QMetaMethod& signal) override;

  private:
    bool Clickable() const;

    QImage picture_;
    QPixmap scaled_;  // picture_ at the current size and pixel ratio
    bool pressed_ = false;
};

}  // namespace korvane::ui
