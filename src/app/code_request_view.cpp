#include "app/code_request_view.h"

#include "app/client_seams.h"
#include "app/login_window.h"
#include "app/message_window.h"
#include "ui/button_ex.h"
#include "ui/editbox_ex.h"
#include "ui/window_timer.h"

namespace korvane::app {

std::string LoginCodeRequestView::AccountText() {
    return window_.Control<ui::EditboxEx>("编辑框EX3").Text();
}

void LoginCodeRequestView::ShowMessage(const std::string& title, std::int32_t iconKind,
                                       const std::string& text) {
    app::ShowMessage(FrameOf(window_), title, iconKind, text, WholeWindow(window_), 1, 0);
}

void LoginCodeRequestView::ShowSystemMessage(const std::string& text) {
    Seams().systemBox.show(text);
}

void LoginCodeRequestView::SetCountdownTimerPeriod(std::int32_t periodMs) {
    window_.Control<ui::WindowTimer>("时钟1").SetPeriod(periodMs);
}

void LoginCodeRequestView::SetCodeButtonEnabled(bool enabled) {
    window_.Control<ui::ButtonEx>("按钮EX4").setEnabled(enabled);
}

void LoginCodeRequestView::SetCodeButtonCaption(const std::string& caption) {
    window_.Control<ui::ButtonEx>("按钮EX4").SetCaption(caption);
}

}  // namespace korvane::app
