#pragma once

#include <string>
#include <string_view>

namespace korvane::service {

// "+", "&" and "/" of a cipher text as form escapes; nothing else is escaped.
std::string EscapeFormValue(std::string_view text);

}  // namespace korvane::service
