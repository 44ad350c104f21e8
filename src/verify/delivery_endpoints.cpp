#include "verify/delivery_endpoints.h"

#include "korvane/config.h"

namespace korvane::verify {

DeliveryEndpoints CompiledInEndpoints() {
    return {.smsGatewayUrl = config::kSmsGatewayUrl,
            .caBundle = config::kCaBundle,
            .smtpHost = config::kSmtpHost,
            .smtpPort = config::kSmtpPort,
            .mailSender = config::kMailSender};
}

}  // namespace korvane::verify
