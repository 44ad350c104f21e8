#pragma once

#include <string>
#include <string_view>

#include "script/json_doc.h"
#include "support/dev_service.h"

namespace korvane::service::testing {

inline constexpr std::string_view kApplicationId = "1";
inline constexpr std::string_view kApplicationKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";

// A reply member ("code", "data.token") read the way the windows read it: loaded into a
// JsonDoc and taken as client text; empty when missing.
inline std::string ReplyMember(std::string_view reply, std::string_view path) {
    script::JsonDoc doc;
    return doc.Load(reply) ? doc.GetText(path) : std::string();
}

// What devservice recorded of the requests it received, oldest first: objects with endpoint,
// id, payload, payload_text, body and code (strings in UTF-8).
inline korvane::testing::JsonValue ReceivedRequests(korvane::testing::DevService& service) {
    return service.GetJson("/admin/requests")["requests"];
}

}  // namespace korvane::service::testing
