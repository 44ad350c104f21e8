#pragma once

#include <string>

namespace korvane::verify {

// Where codes are delivered. The client uses the compiled-in settings; tests point these at
// servers of their own.
struct DeliveryEndpoints {
    std::string smsGatewayUrl;  // scheme, host and port, e.g. "https://127.0.0.1:8443"
    std::string caBundle;       // CA file the gateway's certificate must chain to; empty: system's
    std::string smtpHost;
    int smtpPort = 25;
    std::string mailSender;  // client text
};

// KORVANE_SMS_GATEWAY_URL, KORVANE_CA_BUNDLE, KORVANE_SMTP_HOST, KORVANE_SMTP_PORT and
// KORVANE_MAIL_SENDER as compiled in.
DeliveryEndpoints CompiledInEndpoints();

}  // namespace korvane::verify
