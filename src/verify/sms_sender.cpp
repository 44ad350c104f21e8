#include "verify/sms_sender.h"

#include "net/fetch_options.h"
#include "net/web_fetch.h"
#include "text/code_page.h"
#include "verify/percent_encode.h"

namespace korvane::verify {

namespace {

constexpr const char* kGatewayAccount = "Korvane";
constexpr const char* kGatewayPasswordDigest = "c4e1a97b03d8f25e6a0b14c9d7f38e52";

}  // namespace

std::string SmsRequestUrl(std::string_view gatewayUrl, const std::string& phone,
                          const std::string& code) {
    while (!gatewayUrl.empty() && gatewayUrl.back() == '/') {
        gatewayUrl.remove_suffix(1);
    }
    const std::string message = text::Utf8ToLocal("【Korvane】您正在进行手机认证，验证码") + code +
                                text::Utf8ToLocal("，5分钟内有效");
    std::string url(gatewayUrl);
    url += "/sms?u=";
    url += kGatewayAccount;
    url += "&p=";
    url += kGatewayPasswordDigest;
    url += "&m=" + phone;
    url += "&c=" + PercentEncode(message);
    return url;
}

bool SendCodeBySms(const DeliveryEndpoints& endpoints, const std::string& phone,
                   const std::string& code) {
    net::FetchOptions options;
    options.caBundle = endpoints.caBundle;
    std::string headers;
    const net::ByteBuffer body =
        net::WebFetch(options, SmsRequestUrl(endpoints.smsGatewayUrl, phone, code), net::kMethodGet,
                      {}, std::nullopt, nullptr, {}, &headers);
    // A failed request leaves no header text, or only the blank header buffer.
    return !body.empty() || headers.find_first_not_of(' ') != std::string::npos;
}

bool SendCodeBySms(const std::string& phone, const std::string& code) {
    return SendCodeBySms(CompiledInEndpoints(), phone, code);
}

}  // namespace korvane::verify
