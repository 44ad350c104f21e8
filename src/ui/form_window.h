#pragma once

#include <QDialog>
#include <QImage>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class QShortcut;

namespace korvane::ui {

// Frameless, yet it asks for the minimise and close buttons, so the window manager and the
// taskbar offer both.
inline constexpr Qt::WindowFlags kFormWindowFlags =
    Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// A frameless top-level window with the skin: flat white surface, rounded corners and a soft
// shadow (the shadow only where a compositor can show it). Controls are children of
// Surface() and are placed in surface pixels, so form tables hold exactly. The window is
// dragged by any part of the surface that no control takes the mouse for.
// Opening the window focuses its surface, so no edit box gains the focus until the user (or
// a handler) gives it; clicking the background takes the focus back to the surface.
// Show() it for a normal window, exec() it for a modal one. Esc and Enter do not close it;
// they are reported by escapePressed() and returnPressed() for the window's handlers.
// The taskbar and the window manager may minimise and close it; Ctrl+M minimises it too.
class FormWindow : public QDialog {
    Q_OBJECT
  public:
    FormWindow(int width, int height, QWidget* parent = nullptr);
    ~FormWindow() override;

    QWidget* Surface() const { return surface_.get(); }
    int FormWidth() const;
    int FormHeight() const;

    // Width of the transparent shadow band around the surface, 0 without a compositor.
    int ShadowMargin() const { return margin_; }

    void SetBackground(std::uint32_t argb);

    // Keeps `object` (a control of this window, usually) alive as long as the window. Adopted
    // objects are destroyed in reverse order, so a control adopted after its parent control
    // goes first.
    template <class T>
    T* Adopt(std::unique_ptr<T> object) {
        T* raw = object.get();
        owned_.push_back(std::move(object));
        return raw;
    }

    // Places the surface's centre at the centre of the primary screen.
    void CentreOnScreen();

  signals:
    void escapePressed();
    void returnPressed();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    int margin_ = 0;
    std::unique_ptr<QWidget> surface_;
    std::unique_ptr<QShortcut> minimise_;
    std::vector<std::unique_ptr<QObject>> owned_;  // declared last: released first
    QImage shadow_;  // the painted shadow band, remade when the size or pixel ratio changes
};

}  // namespace korvane::ui
