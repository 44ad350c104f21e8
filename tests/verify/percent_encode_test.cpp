#include "verify/percent_encode.h"

#include <gtest/gtest.h>

#include "text/code_page.h"

namespace korvane::verify {
namespace {

TEST(PercentEncode, KeepsOnlyDigitsLettersHyphenAndDot) {
    const struct {
        std::string utf8;
        const char* encoded;
    } cases[] = {
        {"", ""},
        {"验证码", "%E9%AA%8C%E8%AF%81%E7%A0%81"},
        {"a b_c~/", "a%20b%5Fc%7E%2F"},
        {"-.09AZaz", "-.09AZaz"},
        {"\x01\x7F!*'()+=&%", "%01%7F%21%2A%27%28%29%2B%3D%26%25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PercentEncode(text::Utf8ToLocal(c.utf8)), c.encoded) << c.utf8;
    }
}

}  // namespace
}  // namespace korvane::verify
