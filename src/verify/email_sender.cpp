#include "verify/email_sender.h"

#include "platform/smtp_client.h"
#include "text/code_page.h"

namespace korvane::verify {

namespace {

constexpr const char* kSmtpUser = "korvane";
constexpr const char* kSmtpPassword = "RHVWKOZPJDNCEQLU";
constexpr int kSmtpWaitLimitMs = 3000;

}  // namespace

bool SendCodeByEmail(const DeliveryEndpoints& endpoints, const std::string& address,
                     const std::string& code, const SystemMessageBox& showSystemMessage) {
    platform::SmtpClient smtp;
    const bool connected = smtp.Connect(endpoints.smtpHost, endpoints.smtpPort, kSmtpUser,
                                        kSmtpPassword, kSmtpWaitLimitMs);
    if (showSystemMessage) {
        showSystemMessage(text::Utf8ToLocal(connected ? "真" : "假"));
    }
    const std::string body =
        text::Utf8ToLocal("感谢您使用Korvane的网络映射服务，您的验证码为：") + code;
    const std::string error =
        smtp.Send(endpoints.mailSender, address, text::Utf8ToLocal("Korvane注册验证"), body);
    smtp.Disconnect();
    return connected && error.empty();
}

bool SendCodeByEmail(const std::string& address, const std::string& code,
                     const SystemMessageBox& showSystemMessage) {
    return SendCodeByEmail(CompiledInEndpoints(), address, code, showSystemMessage);
}

}  // namespace korvane::verify
