#include "script/script_literal.h"

#include <algorithm>
#include <cstdint>

#include "text/code_page.h"

namespace korvane::script {

namespace {

// The escape for a UTF-16 unit, or nothing when the unit stands as it is.
std::string_view EscapeOf(std::uint32_t unit) {
    switch (unit) {
        case '\'':
            return "\\'";
        case '\\':
            return "\\\\";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case 0x2028:
            return "\\u2028";
        case 0x2029:
            return "\\u2029";
        default:
            return {};
    }
}

void AppendUnit(text::Utf16Buffer& units, std::uint32_t unit) {
    units.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    units.push_back(static_cast<std::uint8_t>(unit >> 8));
}

}  // namespace

std::string EscapeForSingleQuotes(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
        std::string out;
        out.reserve(text.size());
        for (char c : text) {
            const std::string_view escape = EscapeOf(static_cast<unsigned char>(c));
            if (escape.empty()) {
                out.push_back(c);
            } else {
                out.append(escape);
            }
        }
        return out;
    }
    // Escaped in UTF-16, since a backslash byte can be the second byte of a GBK character.
    const std::string terminated(text);
    const text::Utf16Buffer units = text::TextToUtf16(terminated.c_str(), text::kGbkCodePage, true);
    text::Utf16Buffer escaped;
    escaped.reserve(units.size() + 16);
    for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
        const std::uint32_t unit = units[i] | units[i + 1] << 8;
        const std::string_view escape = EscapeOf(unit);
        if (escape.empty()) {
            AppendUnit(escaped, unit);
        } else {
            for (char c : escape) {
                AppendUnit(escaped, static_cast<unsigned char>(c));
            }
        }
    }
    AppendUnit(escaped, 0);
    return text::Utf16ToText(escaped, text::kGbkCodePage, true);
}

}  // namespace korvane::script
