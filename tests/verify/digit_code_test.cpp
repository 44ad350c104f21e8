#include "verify/digit_code.h"

#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace korvane::verify {
namespace {

TEST(GenerateDigitCode, GivesExactlyTheAskedNumberOfAsciiDigits) {
    for (int i = 0; i < 200; ++i) {
        const std::string code = GenerateDigitCode(6);
        EXPECT_EQ(code.size(), 6u);
        EXPECT_TRUE(IsDigitsOnly(code)) << code;
    }
    EXPECT_EQ(GenerateDigitCode(0), "");
    EXPECT_EQ(GenerateDigitCode(-1), "");
}

TEST(RandomInRange, StaysWithinItsBounds) {
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    for (int i = 0; i < 200; ++i) {
        const std::int32_t digit = RandomInRange(0, 9);
        EXPECT_GE(digit, 0);
        EXPECT_LE(digit, 9);
        const std::int32_t signedValue = RandomInRange(-3, 3);
        EXPECT_GE(signedValue, -3);
        EXPECT_LE(signedValue, 3);
        EXPECT_EQ(RandomInRange(5, 5), 5);
        // The span of the whole range wraps to 0 and must not be divided by.
        EXPECT_GE(RandomInRange(kMin, kMax), kMin);
    }
}

}  // namespace
}  // namespace korvane::verify
