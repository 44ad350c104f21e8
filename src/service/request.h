#pragma once

#include <string>
#include <string_view>

namespace korvane::service {

// "+", "&" and "/" of a cipher text as form escapes; nothing else is escaped.
std::string EscapeFormValue(std::string_view text);

// Where and how a request goes: the form field `id`, the base URL ending with "/", and the
// cipher key.
struct ServiceConfig {
    std::string_view applicationId;
    std::string_view baseUrl;
    std::string_view applicationKey;
};

// One encrypted POST to base URL + "index.php/api/" + endpoint; the decrypted reply as client
// text, or the empty text when the exchange or the decryption failed.
std::string SendRequest(const ServiceConfig& config, std::string_view endpoint,
                        std::string_view payload);

}  // namespace korvane::service
