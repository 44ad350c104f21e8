// LocalToUtf8 of any bytes: well-formed UTF-8 of the characters that code page 936 decodes,
// ASCII unchanged, and back in code page 936 the same bytes wherever every byte decoded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/check.h"
#include "text/code_page.h"
#include "text/utf16_units.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane::text;
    using korvane::fuzz::Require;

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // A client text ends at its first zero byte.
    const std::string text = bytes.substr(0, bytes.find('\0'));

    const Utf16Buffer units = TextToUtf16(bytes.c_str(), kGbkCodePage, true);
    Require(units.size() >= 2 && units.size() % 2 == 0, "whole units, at least the terminator");
    Require(units[units.size() - 2] == 0 && units.back() == 0, "the buffer ends with a zero unit");

    const std::string utf8 = LocalToUtf8(bytes.c_str());
    Require(utf8.find('\0') == std::string::npos, "the result is one text");
    const auto decoded = korvane::fuzz::DecodeUtf8(utf8);
    Require(decoded.has_value(), "the result is well-formed UTF-8");
    Require(*decoded == korvane::fuzz::UnitsOf(units), "the UTF-8 of the decoded characters");

    bool ascii = true;
    for (char c : text) {
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (ascii) {
        Require(utf8 == text, "ASCII stays as it is");
    }
    if (text.find('?') == std::string::npos && utf8.find('?') == std::string::npos) {
        Require(Utf8ToLocal(utf8) == text, "every byte decoded: the same text comes back");
    }
    Require(LocalToUtf8(nullptr).empty(), "an absent text gives the empty text");
    return 0;
}
