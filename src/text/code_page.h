#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::text {

// Code pages the client names. 0 is the system's ANSI code page, which is 936 here.
inline constexpr std::uint32_t kAnsiCodePage = 0;
inline constexpr std::uint32_t kGbkCodePage = 936;
inline constexpr std::uint32_t kUtf8CodePage = 65001;

// Little-endian UTF-16 code units as bytes; a buffer made here always ends with a zero unit.
using Utf16Buffer = std::vector<std::uint8_t>;

// Decodes a zero-terminated text. A null `text` is an absent text (empty result); a text
// holding only the terminator gives one zero unit. With `useGiven` clear the text is UTF-8.
Utf16Buffer TextToUtf16(const char* text, std::uint32_t codePage, bool useGiven);

// Encodes the zero-terminated UTF-16 text at the start of `buffer`. With `useGiven` clear it
// encodes in the ANSI code page.
std::string Utf16ToText(const Utf16Buffer& buffer, std::uint32_t codePage, bool useGiven);

// Client text (code page 936) to UTF-8; a null text gives the empty text.
std::string LocalToUtf8(const char* text);
inline std::string LocalToUtf8(const std::string& text) {
    return LocalToUtf8(text.c_str());
}

// UTF-8 to client text. This is how the client's Chinese literals, written in UTF-8 source,
// become client text: Utf8ToLocal("注册").
std::string Utf8ToLocal(std::string_view utf8);

}  // namespace korvane::text
