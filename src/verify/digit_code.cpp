#include "verify/digit_code.h"

#include <algorithm>
#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

namespace korvane::verify {

namespace {

std::uint32_t CounterLow32() {
#if defined(__x86_64__) || defined(__i386__)
    return static_cast<std::uint32_t>(__rdtsc());
#else
    // No time-stamp counter: the finest clock there is changes about as fast.
    return static_cast<std::uint32_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

std::string GenerateDigitCode(std::int32_t length) {
    std::string code;
    code.reserve(static_cast<std::size_t>(std::max(length, 0)));
    for (std::int32_t i = 0; i < length; ++i) {
        code += static_cast<char>('0' + RandomInRange(0, 9));
    }
    return code;
}

std::int32_t RandomInRange(std::int32_t low, std::int32_t high) {
    const std::uint32_t t = CounterLow32();
    const std::uint32_t r = ((t * 214013u + 2531011u) >> 16) & 0x7FFFu;
    const std::uint32_t span =
        static_cast<std::uint32_t>(high) - static_cast<std::uint32_t>(low) + 1u;
    // The whole 32-bit range wraps the span to 0; every r then lies in it.
    const std::uint32_t offset = span == 0 ? r : r % span;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(low) + offset);
}

bool IsDigitsOnly(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace korvane::verify
