#pragma once

#include <cstdint>
#include <string>

namespace korvane::verify {

// `length` decimal digits, each drawn with RandomInRange(0, 9); leading zeros are kept.
std::string GenerateDigitCode(std::int32_t length);

// A number in low..high from the processor's time-stamp counter, read afresh at every call and
// stirred by one linear congruential step. Not for secrets: it only has to differ between
// clicks.
std::int32_t RandomInRange(std::int32_t low, std::int32_t high);

// True when the text is not empty and every byte of it is an ASCII digit.
bool IsDigitsOnly(const std::string& text);

}  // namespace korvane::verify
