// PercentEncode of any client text: only the 64 characters that stay, and "%" with two
// upper-case hexadecimal digits for every other byte; decoded, the UTF-8 form of the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/check.h"
#include "text/code_page.h"
#include "verify/percent_encode.h"

namespace {

using korvane::fuzz::Require;

bool KeptAsIs(char c) {
    return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
           (c >= 'a' && c <= 'z');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;  // lower-case digits are not written
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string encoded = korvane::verify::PercentEncode(text);
    if (text.empty()) {
        Require(encoded.empty(), "the empty text encodes to nothing");
        return 0;
    }

    std::string decoded;
    for (std::size_t i = 0; i < encoded.size();) {
        if (encoded[i] != '%') {
            Require(KeptAsIs(encoded[i]), "only the 64 characters stay as they are");
            decoded += encoded[i++];
            continue;
        }
        Require(i + 2 < encoded.size(), "a % has two digits after it");
        const int high = HexValue(encoded[i + 1]);
        const int low = HexValue(encoded[i + 2]);
        Require(high >= 0 && low >= 0, "two upper-case hexadecimal digits");
        const char byte = static_cast<char>(high << 4 | low);
        Require(!KeptAsIs(byte), "characters that stay are never encoded");
        decoded += byte;
        i += 3;
    }
    Require(decoded == korvane::text::LocalToUtf8(text), "decodes to the text's UTF-8 bytes");
    return 0;
}
