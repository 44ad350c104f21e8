#pragma once

#include <cstdint>
#include <string>

#include "verify/code_request.h"

namespace korvane::app {

class LoginWindow;

// The registration panel of a login window as the code request and the countdown see it:
// the box "编辑框EX3", the button "按钮EX4", the timer "时钟1", and the two message boxes.
class LoginCodeRequestView : public verify::CodeRequestView {
  public:
    explicit LoginCodeRequestView(LoginWindow& window) : window_(window) {}

    std::string AccountText() override;
    void ShowMessage(const std::string& title, std::int32_t iconKind,
                     const std::string& text) override;
    void ShowSystemMessage(const std::string& text) override;
    void SetCountdownTimerPeriod(std::int32_t periodMs) override;
    void SetCodeButtonEnabled(bool enabled) override;
    void SetCodeButtonCaption(const std::string& caption) override;

  private:
    LoginWindow& window_;
};

}  // namespace korvane::app
