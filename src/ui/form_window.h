#pragma once

#include <QDialog>
#include <cstdint>

namespace korvane::ui {

// A frameless top-level window with the skin: flat white surface, rounded corners and a soft
// shadow (the shadow only where a compositor can show it). Controls are children of
// Surface() and are placed in surface pixels, so form tables hold exactly. The window is
// dragged by any part of the surface that no control takes the mouse for.
// Show() it for a normal window, exec() it for a modal one. Esc and Enter do not close it;
// they are reported by escapePressed() and returnPressed() for the window's handlers.
class FormWindow : public QDialog {
    Q_OBJECT
  public:
    FormWindow(int width, int height, QWidget* parent = nullptr);
    ~FormWindow() override;

    QWidget* Surface() const { return surface_; }
    int FormWidth() const;
    int FormHeight() const;

    // Width of the transparent shadow band around the surface, 0 without a compositor.
    int ShadowMargin() const { return margin_; }

    void SetBackground(std::uint32_t argb);

    // Places the surface's centre at the centre of the primary screen.
    void CentreOnScreen();

  signals:
    void escapePressed();
    void returnPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int margin_ = 0;
    QWidget* surface_ = nullptr;
};

}  // namespace korvane::ui
