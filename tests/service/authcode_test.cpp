#include "service/authcode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "service/authcode_cipher.h"
#include "text/code_page.h"

namespace korvane::service {
namespace {

using text::Utf8ToLocal;

constexpr std::string_view kKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";

// Cipher texts made outside this code base (OpenSSL's RC4, Python's hashlib and base64) from
// the salt, the data and the key above.
TEST(Authcode, KnownAnswers) {
    const struct {
        std::string_view salt;
        std::string data;  // UTF-8
        std::string_view expiry;
        std::string_view cipher;
    } cases[] = {
        {"1a2b", R"({"username":"abc"})", kNoExpiry,
         "1a2bTzOm2Ro1QGIxA8gWYAn3HVRAnmBYFxVUJhRFd9tYjUC33aMZ9AytNunYA+A"},
        {"0f9e", "", kNoExpiry, "0f9eV9c7DuMDi5+AAlgif+mXk2qoDKh8Df46xMs"},
        {"c3d4", "{\"notice\":\"\xE4\xB8\xAD\xE6\x96\x87\"}", kNoExpiry,
         "c3d4M9Lk3E/xi5XtdmuDgRvuIi2fG4jXLq7iqZI3KC/Q4xz0gYdGcb3nNI+yiHWt"},
        {"77aa", R"({"code":608})", "0000000001",
         "77aa4vBkw4UrcmsvZJbXWwSDWOUCeHV50N2+kgm/nyLpDW7tHsqDTsQ"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AuthcodeEncodeWithSalt(c.data, kKey, c.salt, c.expiry), c.cipher);
    }
    EXPECT_EQ(AuthcodeDecode(cases[0].cipher, kKey), cases[0].data);
    EXPECT_EQ(AuthcodeDecode(cases[1].cipher, kKey), "");
    // Raw UTF-8 in the data: the check hashes those bytes, the text arrives in code page 936.
    EXPECT_EQ(AuthcodeDecode(cases[2].cipher, kKey), Utf8ToLocal(cases[2].data));
    // Expired long ago.
    EXPECT_EQ(AuthcodeDecode(cases[3].cipher, kKey), "");
}

TEST(Authcode, SaltComesFromTheClockSince1601) {
    EXPECT_EQ(SaltFromFileTime(133500000000000000ULL), "7e38");
    const auto unixSeconds = std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::system_clock::now().time_since_epoch());
    const std::uint64_t expected = 116444736000000000ULL + unixSeconds.count() * 10'000'000ULL;
    EXPECT_NEAR(static_cast<double>(FileTimeNow()), static_cast<double>(expected), 600e7);
}

// Every remainder of the Base64 groups, and payloads long enough to cross the 64-byte key.
TEST(Authcode, LengthAlphabetAndRoundTrip) {
    std::string data;
    for (std::size_t n = 0; n <= 70; ++n) {
        SCOPED_TRACE(n);
        const std::string cipher = AuthcodeEncode(data, kKey);
        EXPECT_EQ(cipher.size(), 4 + (4 * (26 + n) + 2) / 3);
        EXPECT_EQ(cipher.substr(0, 4).find_first_not_of("0123456789abcdef"), std::string::npos);
        EXPECT_EQ(cipher.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                           "0123456789+/"),
                  std::string::npos);
        EXPECT_EQ(AuthcodeDecode(cipher, kKey), data);
        data.push_back(static_cast<char>(' ' + n % 95));
    }
    EXPECT_EQ(AuthcodeEncode("", kKey).size(), 39u);
}

TEST(Authcode, EncodeStopsAtTheTerminator) {
    const std::string cipher = AuthcodeEncode(std::string("ab\0cd", 5), kKey);
    EXPECT_EQ(cipher.size(), AuthcodeEncode("ab", kKey).size());
    EXPECT_EQ(AuthcodeDecode(cipher, kKey), "ab");
}

// A cipher text and what the decoder must make of it.
struct DecodeCase {
    const char* what;
    std::string cipher;
    std::string expected;
};

std::string WithChar(std::string text, std::size_t at, char c) {
    text[at] = c;
    return text;
}

TEST(Authcode, DecodeCases) {
    const std::string data = R"({"code":608,"data":{"token":"t0k+/en"}})";
    const std::string good = AuthcodeEncodeWithSalt(data, kKey, "5e6f");
    // Body character 20 carries bits of the check field, character 40 bits of the data.
    const auto flipped = [&](std::size_t at) {
        return WithChar(good, 4 + at, good[4 + at] == 'A' ? 'B' : 'A');
    };
    const std::string future =
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count() +
                       3600);
    const DecodeCase cases[] = {
        {"good", good, data},
        {"same data, salt of its own", AuthcodeEncode(data, kKey), data},
        {"changed salt", WithChar(good, 0, good[0] == 'a' ? 'b' : 'a'), ""},
        {"changed check character", flipped(20), ""},
        {"changed data character", flipped(40), ""},
        {"truncated", good.substr(0, good.size() - 3), ""},
        {"line breaks and foreign characters in the body",
         good.substr(0, 10) + "\r\n" + good.substr(10, 30) + " *\n" + good.substr(40) + "\r\n",
         data},
        {"padding kept", good + "==", data},
        {"future expiry", AuthcodeEncodeWithSalt(data, kKey, "5e6f", future), data},
        {"blank expiry", AuthcodeEncodeWithSalt(data, kKey, "5e6f", "          "), data},
        {"past expiry", AuthcodeEncodeWithSalt(data, kKey, "5e6f", "1000000000"), ""},
        {"empty", "", ""},
        {"three characters", "5e6", ""},
        {"salt only", "5e6f", ""},
        {"not a cipher text", "<html><body>502 Bad Gateway</body></html>", ""},
        // Data bytes that are not UTF-8 (code page 936 here) have no text the check could
        // have been made over.
        {"data not UTF-8", AuthcodeEncodeWithSalt("{\"a\":\"\xD6\xD0\"}", kKey, "5e6f"), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AuthcodeDecode(c.cipher, kKey), c.expected) << c.what;
    }
    EXPECT_EQ(AuthcodeDecode(good, "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb1"), "");
    EXPECT_EQ(AuthcodeDecode(good, ""), "");
}

TEST(Authcode, RawUtf8DataBecomesClientText) {
    const std::string utf8 = "{\"notice\":\"\xE6\xAC\xA2\xE8\xBF\x8E \xE4\xBD\xBF\xE7\x94\xA8\"}";
    EXPECT_EQ(AuthcodeDecode(AuthcodeEncode(utf8, kKey), kKey), Utf8ToLocal(utf8));
}

}  // namespace
}  // namespace korvane::service
