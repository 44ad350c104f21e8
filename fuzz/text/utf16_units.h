#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "text/code_page.h"

// Small, independent UTF-16 and UTF-8 readers for the text targets' checks.
namespace korvane::fuzz {

using Units = std::vector<std::uint16_t>;

// The units of a buffer up to, not including, its first zero unit; an odd last byte is no unit.
inline Units UnitsOf(const text::Utf16Buffer& buffer) {
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

// The same units with every surrogate that is not half of a pair replaced by U+FFFD.
inline Units WithoutLoneSurrogates(Units units) {
    for (std::size_t i = 0; i < units.size(); ++i) {
        const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF;
        const bool low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            ++i;
        } else if (high || low) {
            units[i] = 0xFFFD;
        }
    }
    return units;
}

// The UTF-16 units of well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF); nullopt for anything else.
inline std::optional<Units> DecodeUtf8(std::string_view bytes) {
    Units units;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t more = 0;
        std::uint32_t c = lead;
        std::uint32_t least = 0;
        if (lead < 0x80) {
            more = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1, c = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2, c = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3, c = lead & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (bytes.size() - i <= more) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k <= more; ++k) {
            const auto trail = static_cast<unsigned char>(bytes[i + k]);
            if ((trail & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = c << 6 | (trail & 0x3F);
        }
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            units.push_back(static_cast<std::uint16_t>(0xD800 + ((c - 0x10000) >> 10)));
            units.push_back(static_cast<std::uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            units.push_back(static_cast<std::uint16_t>(c));
        }
        i += more + 1;
    }
    return units;
}

}  // namespace korvane::fuzz
