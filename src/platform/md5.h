#pragma once

#include <string>
#include <string_view>

namespace korvane::platform {

// MD5 (RFC 1321) of the bytes, as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace korvane::platform
