#pragma once

#include <string>
#include <string_view>

#include "verify/delivery_endpoints.h"

namespace korvane::verify {

// "<gateway>/sms?u=..&p=..&m=<phone>&c=<percent-encoded message>": the phone number goes in as
// it is, the message carries the code.
std::string SmsRequestUrl(std::string_view gatewayUrl, const std::string& phone,
                          const std::string& code);

// One GET of the request URL; the gateway's certificate is checked against the endpoints' CA
// bundle. The reply is not examined: false only when no response came at all (unreachable
// gateway, refused TLS, time-out).
bool SendCodeBySms(const DeliveryEndpoints& endpoints, const std::string& phone,
                   const std::string& code);
bool SendCodeBySms(const std::string& phone, const std::string& code);

}  // namespace korvane::verify
