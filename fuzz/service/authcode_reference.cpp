#include "service/authcode_reference.h"

#include <array>

#include "platform/md5.h"
#include "service/authcode_cipher.h"
#include "text/code_page.h"

namespace korvane::fuzz {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Base64Value(std::uint16_t code) {
    const auto byte = static_cast<char>(code & 0xFF);
    const std::size_t at = kAlphabet.find(byte);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// The UTF-8 form of the units; a surrogate without its partner becomes U+FFFD.
std::string Utf8Of(const Units& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            const std::uint32_t next = i + 1 < units.size() ? units[i + 1] : 0;
            if (c <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else {
                c = 0xFFFD;
            }
        }
        auto put = [&out](std::uint32_t b) { out.push_back(static_cast<char>(b)); };
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | c >> 6), put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | c >> 12), put(0x80 | (c >> 6 & 0x3F)), put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | c >> 18), put(0x80 | (c >> 12 & 0x3F)), put(0x80 | (c >> 6 & 0x3F)),
                put(0x80 | (c & 0x3F));
        }
    }
    return out;
}

enum class Stamp { Passes, Fails, Unknown };

Stamp StampVerdict(std::string_view field, std::int64_t unixNow) {
    std::int64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') {
            return Stamp::Unknown;
        }
        value = value * 10 + (c - '0');
    }
    if (value == 0 || value > unixNow + 2) {
        return Stamp::Passes;
    }
    return value < unixNow - 2 ? Stamp::Fails : Stamp::Unknown;
}

}  // namespace

Units EngineUnits(std::string_view clientText) {
    const std::string text(clientText.substr(0, clientText.find('\0')));
    const text::Utf16Buffer buffer = text::TextToUtf16(text.c_str(), text::kGbkCodePage, true);
    Units units;
    for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
        const auto unit = static_cast<std::uint16_t>(buffer[i] | buffer[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return units;
}

std::string Base64Reference(const Units& input) {
    std::size_t next = 0;
    // Past the end the script reads NaN, which is 0 modulo 256: outside the alphabet.
    auto read = [&]() -> std::uint16_t {
        const std::uint16_t code = next < input.size() ? input[next] : 0;
        ++next;
        return code;
    };
    // One member; -1 when none is left, -2 for an "=".
    auto member = [&](bool padAllowed) {
        int value = -1;
        do {
            const std::uint16_t code = read();
            if (padAllowed && (code & 0xFF) == '=') {
                return -2;
            }
            value = Base64Value(code);
        } while (next < input.size() && value == -1);
        return value;
    };
    std::string out;
    while (next < input.size()) {
        const int c1 = member(false);
        if (c1 < 0) {
            break;
        }
        const int c2 = member(false);
        if (c2 < 0) {
            break;
        }
        out.push_back(static_cast<char>(c1 << 2 | (c2 & 0x30) >> 4));
        const int c3 = member(true);
        if (c3 < 0) {
            break;
        }
        out.push_back(static_cast<char>((c2 & 0x0F) << 4 | (c3 & 0x3C) >> 2));
        const int c4 = member(true);
        if (c4 < 0) {
            break;
        }
        out.push_back(static_cast<char>((c3 & 0x03) << 6 | c4));
    }
    return out;
}

bool IsStrictUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t more = 0;
        std::uint32_t c = 0;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, c = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, c = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, c = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i <= more) {
            return false;
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const auto trail = static_cast<unsigned char>(bytes[i + k]);
            if ((trail & 0xC0) != 0x80) {
                return false;
            }
            c = c << 6 | (trail & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        i += more + 1;
    }
    return true;
}

ReferenceResult ReferenceDecode(const Units& cipher, std::string_view key, std::int64_t unixNow) {
    using platform::Md5Hex;
    if (cipher.size() < service::kSaltLength) {
        return {};
    }
    const std::string k = Md5Hex(key);
    const std::string keya = Md5Hex(k.substr(0, 16));
    const std::string keyb = Md5Hex(k.substr(16, 16));
    const std::string keyc = Utf8Of(Units(cipher.begin(), cipher.begin() + service::kSaltLength));
    std::string block = Base64Reference(Units(cipher.begin() + service::kSaltLength, cipher.end()));
    service::AuthcodeStream(keya + Md5Hex(keya + keyc), block);

    if (block.size() < 26) {
        return {};
    }
    const std::string_view plain(block);
    const std::string_view data = plain.substr(26);
    if (!IsStrictUtf8(data) ||
        plain.substr(10, 16) != Md5Hex(std::string(data) + keyb).substr(0, 16)) {
        return {};
    }
    switch (StampVerdict(plain.substr(0, 10), unixNow)) {
        case Stamp::Passes:
            return {Verdict::Accept, std::string(data)};
        case Stamp::Fails:
            return {};
        case Stamp::Unknown:
            break;
    }
    return {Verdict::Either, std::string(data)};
}

}  // namespace korvane::fuzz
