#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-string helpers behind the fetch and URL operations. Letter case means ASCII letters
// only; bytes above 0x7F are never changed.
namespace korvane::net {

std::string AsciiLower(std::string_view text);

// Position of `needle` in `text` at or after `from`, ignoring letter case; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Every occurrence of `from`, in any letter case, replaced by `to`.
std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to);

// Removes leading and trailing ASCII spaces and full-width spaces of code page 936 (A1 A1).
// The end is scanned character by character, so the trail byte of a double-byte character
// is never taken for half of a full-width space.
std::string Trim(std::string_view text);

}  // namespace korvane::net
