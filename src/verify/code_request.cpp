#include "verify/code_request.h"

#include "text/code_page.h"
#include "verify/digit_code.h"
#include "verify/email_sender.h"
#include "verify/sms_sender.h"

namespace korvane::verify {

namespace {

constexpr std::int32_t kCodeLength = 6;
constexpr std::int32_t kWarningIcon = 3;
constexpr std::int32_t kCountdownPeriodMs = 1000;
constexpr std::int32_t kCountdownSeconds = 60;

// Walks characters, not bytes: the second byte of a double-byte character may be 0x40 and is
// not an "@".
bool HoldsAt(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '@') {
            return true;
        }
        if (byte >= 0x81 && byte <= 0xFE) {
            ++i;
        }
    }
    return false;
}

void Warn(CodeRequestView& view, const char* textUtf8) {
    view.ShowMessage(text::Utf8ToLocal("警告"), kWarningIcon, text::Utf8ToLocal(textUtf8));
}

// The countdown only starts for a code that left the client.
void AfterSending(CodeRequestView& view, bool delivered) {
    if (delivered) {
        view.SetCountdownTimerPeriod(kCountdownPeriodMs);
    } else {
        Warn(view, "验证码发送失败，请稍后重试！");
    }
}

}  // namespace

void RequestCode(CodeRequestView& view, std::string& verificationCode,
                 const DeliveryEndpoints& endpoints) {
    if (view.AccountText().empty()) {
        Warn(view, "请输入手机号/邮箱");
        return;
    }
    verificationCode = GenerateDigitCode(kCodeLength);

    const std::string address = view.AccountText();
    if (HoldsAt(address)) {
        const SystemMessageBox systemMessage = [&view](const std::string& text) {
            view.ShowSystemMessage(text);
        };
        AfterSending(view, SendCodeByEmail(endpoints, address, verificationCode, systemMessage));
        return;
    }
    const std::string phone = view.AccountText();
    if (IsDigitsOnly(phone)) {
        AfterSending(view, SendCodeBySms(endpoints, phone, verificationCode));
        return;
    }
    Warn(view, "手机号格式错误！");
}

void RequestCode(CodeRequestView& view, std::string& verificationCode) {
    RequestCode(view, verificationCode, CompiledInEndpoints());
}

void CountdownTick(CodeRequestView& view, std::int32_t& countdownTicks) {
    countdownTicks += 1;
    if (countdownTicks == kCountdownSeconds) {
        view.SetCodeButtonEnabled(true);
        view.SetCodeButtonCaption(text::Utf8ToLocal("获取验证码"));
        countdownTicks = 0;
        view.SetCountdownTimerPeriod(0);
        return;
    }
    view.SetCodeButtonEnabled(false);
    view.SetCodeButtonCaption(std::to_string(kCountdownSeconds - countdownTicks) + "s");
}

}  // namespace korvane::verify
