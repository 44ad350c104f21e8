#include "verify/percent_encode.h"

#include "text/code_page.h"

namespace korvane::verify {

namespace {

bool KeptAsIs(unsigned char byte) {
    return byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
           (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

}  // namespace

std::string PercentEncode(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string utf8 = text::LocalToUtf8(text);
    std::string out;
    out.reserve(utf8.size() * 3);
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (KeptAsIs(byte)) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

}  // namespace korvane::verify
