#pragma once

#include <string>

namespace korvane::verify {

// The UTF-8 bytes of client text, with every byte other than "-", ".", the ASCII digits and
// the ASCII letters written as "%" and two upper-case hexadecimal digits.
std::string PercentEncode(const std::string& text);

}  // namespace korvane::verify
