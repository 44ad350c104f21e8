#include "platform/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane::platform {
namespace {

std::string Repeated(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

TEST(Md5Hex, Rfc1321TestSuite) {
    const struct {
        std::string input;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {Repeated("1234567890", 8), "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Md5Hex(c.input), c.digest) << c.input;
    }
}

TEST(Md5Hex, HashesEveryByteIncludingZeroAndHighBytes) {
    EXPECT_EQ(Md5Hex(std::string("\0", 1)), "93b885adfe0da089cdf634904fd59f71");
    EXPECT_EQ(Md5Hex("\xE4\xB8\xAD"), "aed1dfbc31703955e64806b799b67645");
}

}  // namespace
}  // namespace korvane::platform
