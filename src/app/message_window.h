#pragma once

#include <cstdint>
#include <string>

#include "app/globals.h"
#include "ui/form_window.h"

namespace korvane::app {

// The client's own message box: icon, title, text, OK, Cancel and close, over a mask that
// veils the owner window while it is open.
class MessageWindow : public ui::FormWindow {
    Q_OBJECT
  public:
    MessageWindow();
    ~MessageWindow() override;

    // Shows what the message-window globals hold: mask over the owner, icon, title, text.
    void OnCreated();

    void OnOk();
    void OnCancel();
    void OnClose();

  private:
    void Finish(std::int32_t result);
};

// Opens the message window modally over `owner` and returns 1 after OK, 0 after Cancel or
// the close button, -1 when it went away otherwise. Title and text are client text.
std::int32_t ShowMessage(const WindowControl& owner, const std::string& title,
                         std::int32_t iconKind, const std::string& text,
                         const MaskRectangle& maskRect, std::int32_t maskMode,
                         std::int32_t filterValue);

// The owner reference and the whole-window rectangle a handler passes to ShowMessage: the
// frame control "窗口EX1" of `window` and (0, 0, its width, its height) read now.
WindowControl FrameOf(ui::FormWindow& window);
MaskRectangle WholeWindow(const ui::FormWindow& window);

}  // namespace korvane::app
