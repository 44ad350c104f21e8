#pragma once

#include <string_view>

namespace korvane::script {

// json_support.js, embedded at build time: get__count, JSON.stringify, JSON.parse and the
// toJSON, toJSONString and parseJSON members every document's engine starts with.
extern const std::string_view JsonSupportScript;

}  // namespace korvane::script
