#pragma once

#include <cstdint>
#include <string>

#include "verify/delivery_endpoints.h"

namespace korvane::verify {

// What the code request and the countdown need from the login window. Every text is client
// text (code page 936). All calls come on the GUI thread, from inside RequestCode or
// CountdownTick.
class CodeRequestView {
  public:
    virtual ~CodeRequestView() = default;

    // The current text of the phone-or-e-mail box "编辑框EX3"; a box that still shows its
    // hint gives the hint text. Read afresh on every call.
    virtual std::string AccountText() = 0;

    // ShowMessage over the login window: owner its frame control "窗口EX1", the mask
    // rectangle (0, 0, window width, window height) read at this call, mask mode 1, filter
    // value 0. Modal; the result is ignored.
    virtual void ShowMessage(const std::string& title, std::int32_t iconKind,
                             const std::string& text) = 0;

    // The system message box (caption "信息：", one OK button, no icon, task-modal, no
    // owner window); returns when the user has closed it.
    virtual void ShowSystemMessage(const std::string& text) = 0;

    // The period of the timer "时钟1" in milliseconds: 1000 starts the countdown, 0 stops it.
    virtual void SetCountdownTimerPeriod(std::int32_t periodMs) = 0;

    // The code button "按钮EX4".
    virtual void SetCodeButtonEnabled(bool enabled) = 0;
    virtual void SetCodeButtonCaption(const std::string& caption) = 0;
};

// Handler of a click on "按钮EX4". With an empty box it warns and leaves `verificationCode`
// alone. Otherwise it stores a new six-digit code in `verificationCode` first, then sends it
// by mail when the box holds an "@", by SMS when it holds only ASCII digits, and warns about
// the format in every other case (the new code stays). A send that demonstrably failed gets a
// warning instead of the countdown.
void RequestCode(CodeRequestView& view, std::string& verificationCode,
                 const DeliveryEndpoints& endpoints);
// With the compiled-in delivery settings.
void RequestCode(CodeRequestView& view, std::string& verificationCode);

// Handler of the "时钟1" tick: ticks 1 to 59 disable the button and show the seconds left
// ("59s" … "1s"); tick 60 restores "获取验证码", enables the button, stops the timer and sets
// `countdownTicks` back to 0.
void CountdownTick(CodeRequestView& view, std::int32_t& countdownTicks);

}  // namespace korvane::verify
