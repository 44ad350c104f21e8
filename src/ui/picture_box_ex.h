#pragma once

#include <QImage>
#include <QPixmap>

#include "ui/pressable_control.h"

namespace korvane::ui {

// A picture scaled smoothly into the box, aspect ratio kept, centred. Until something is
// connected to clicked() the box is see-through for the mouse: presses reach the control
// below it (an edit box under its icon) or the window, which can then be dragged by it.
class PictureBoxEx : public PressableControl {
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
    void connectNotify(const QMetaMethod& signal) override;
    void OnClick() override { emit clicked(); }
    bool TakesPress() const override;

  private:
    QImage picture_;
    QPixmap scaled_;  // picture_ at the current size and pixel ratio
};

}  // namespace korvane::ui
