#include "script/engine_text.h"

#include <algorithm>
#include <cstdint>

#include "text/code_page.h"

namespace korvane::script {

namespace {

using text::Utf16Buffer;

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

void AppendUnit(Utf16Buffer& units, std::uint32_t unit) {
    units.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    units.push_back(static_cast<std::uint8_t>(unit >> 8));
}

void AppendCodePoint(Utf16Buffer& units, std::uint32_t cp) {
    if (cp < 0x10000) {
        AppendUnit(units, cp);
        return;
    }
    cp -= 0x10000;
    AppendUnit(units, 0xD800 + (cp >> 10));
    AppendUnit(units, 0xDC00 + (cp & 0x3FF));
}

// Decodes one sequence of the engine's extended UTF-8 at `at`; malformed bytes give U+FFFD
// one byte at a time.
std::uint32_t DecodeOne(std::string_view bytes, std::size_t& at) {
    constexpr std::uint32_t kReplacement = 0xFFFD;
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int more = 0;
    std::uint32_t cp = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        more = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        ++at;
        return kReplacement;
    }
    if (bytes.size() - at <= static_cast<std::size_t>(more)) {
        ++at;
        return kReplacement;
    }
    for (int i = 1; i <= more; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return kReplacement;
        }
        cp = cp << 6 | (next & 0x3F);
    }
    at += static_cast<std::size_t>(more) + 1;
    return cp < least || cp > 0x10FFFF ? kReplacement : cp;
}

}  // namespace

std::string ToEngineText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (IsAscii(text)) {
        return std::string(text);
    }
    const std::string terminated(text);
    const Utf16Buffer units = text::TextToUtf16(terminated.c_str(), text::kGbkCodePage, true);
    std::string out;
    out.reserve(units.size() * 2);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const std::uint32_t u = units[i] | units[i + 1] << 8;
        if (u == 0) {
            break;
        }
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | u >> 6));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | u >> 12));
            out.push_back(static_cast<char>(0x80 | (u >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
        }
    }
    return out;
}

std::string FromEngineText(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    if (IsAscii(bytes)) {
        return std::string(bytes);
    }
    Utf16Buffer units;
    units.reserve(bytes.size() * 2 + 2);
    for (std::size_t at = 0; at < bytes.size();) {
        const std::uint32_t cp = DecodeOne(bytes, at);
        if (cp == 0) {
            break;
        }
        AppendCodePoint(units, cp);
    }
    AppendUnit(units, 0);
    return text::Utf16ToText(units, text::kGbkCodePage, true);
}

}  // namespace korvane::script
