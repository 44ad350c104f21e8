#pragma once

#include <string_view>

namespace korvane::service {

// The reply decoder's script (authcode_script.js), embedded at build time.
extern const std::string_view AuthcodeScript;

}  // namespace korvane::service
