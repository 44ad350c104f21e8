#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::text {

// The iconv name of a code page number, with 0 taken as 936; empty for an unknown number.
std::string IconvName(std::uint32_t codePage);

// Converts `input` from one iconv encoding to another. Input that cannot be decoded or
// characters the target cannot hold become `replacement` (given in the target encoding).
// nullopt when iconv does not know either encoding.
std::optional<std::string> IconvConvert(std::string_view input, const std::string& from,
                                        const std::string& to, std::string_view replacement);

}  // namespace korvane::text
