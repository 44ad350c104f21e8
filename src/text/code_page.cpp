#include "text/code_page.h"

#include <cstring>

#include "text/iconv_converter.h"

namespace korvane::text {

namespace {

const std::string kUtf16 = "UTF-16LE";

// What a code page's decoder writes for bytes it cannot decode, as UTF-16LE.
std::string_view DecodeReplacement(std::uint32_t codePage) {
    static constexpr char kQuestion[] = {'?', '\0'};
    static constexpr char kReplacementChar[] = {'\xFD', '\xFF'};
    return codePage == kUtf8CodePage ? std::string_view(kReplacementChar, 2)
                                     : std::string_view(kQuestion, 2);
}

// What a code page's encoder writes for characters it cannot hold.
std::string_view EncodeReplacement(std::uint32_t codePage) {
    return codePage == kUtf8CodePage ? std::string_view("\xEF\xBF\xBD") : std::string_view("?");
}

// The text's bytes with its terminator, decoded to UTF-16LE; nullopt when the code page is unknown.
std::optional<std::string> Decode(const char* text, std::uint32_t codePage) {
    std::string_view bytes(text, std::strlen(text) + 1);
    return IconvConvert(bytes, IconvName(codePage), kUtf16, DecodeReplacement(codePage));
}

std::optional<std::string> Encode(std::string_view units, std::uint32_t codePage) {
    return IconvConvert(units, kUtf16, IconvName(codePage), EncodeReplacement(codePage));
}

// The UTF-16 text at the start of the buffer, up to and including its first zero unit.
std::string_view TerminatedUnits(const Utf16Buffer& buffer, std::string& withTerminator) {
    const std::size_t units = buffer.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        if (buffer[2 * i] == 0 && buffer[2 * i + 1] == 0) {
            return {reinterpret_cast<const char*>(buffer.data()), 2 * i + 2};
        }
    }
    // No terminator in the buffer: the text is all of it, terminated here.
    withTerminator.assign(reinterpret_cast<const char*>(buffer.data()), 2 * units);
    withTerminator.append(2, '\0');
    return withTerminator;
}

}  // namespace

Utf16Buffer TextToUtf16(const char* text, std::uint32_t codePage, bool useGiven) {
    if (text == nullptr) {
        return {};
    }
    // The size is measured in the ANSI code page, whatever code page decodes.
    const auto measured = Decode(text, kAnsiCodePage);
    const std::size_t n = measured ? measured->size() / 2 : 0;
    if (n == 0) {
        return {};
    }
    Utf16Buffer buffer(2 * n, 0);
    const auto converted = Decode(text, useGiven ? codePage : kUtf8CodePage);
    // A conversion that fails or does not fit leaves the buffer zero-filled.
    if (converted && converted->size() <= buffer.size()) {
        std::memcpy(buffer.data(), converted->data(), converted->size());
    }
    return buffer;
}

std::string Utf16ToText(const Utf16Buffer& buffer, std::uint32_t codePage, bool useGiven) {
    if (buffer.size() < 2) {
        return {};
    }
    std::string terminatedCopy;
    const std::string_view units = TerminatedUnits(buffer, terminatedCopy);
    const auto measured = Encode(units, kAnsiCodePage);
    const std::size_t m = measured ? measured->size() : 0;
    if (m < 1) {
        return {};
    }
    const auto converted = Encode(units, useGiven ? codePage : kAnsiCodePage);
    if (!converted) {
        // Nothing converted: the space-filled buffer is what the caller receives.
        return std::string(2 * m, ' ');
    }
    // Sized exactly rather than at twice the ANSI size, so a text of euro signs is never cut.
    const std::size_t end = converted->find('\0');
    return converted->substr(0, end);
}

std::string LocalToUtf8(const char* text) {
    return Utf16ToText(TextToUtf16(text, kGbkCodePage, true), kUtf8CodePage, true);
}

std::string Utf8ToLocal(std::string_view utf8) {
    const std::string terminated(utf8);
    return Utf16ToText(TextToUtf16(terminated.c_str(), kUtf8CodePage, true), kGbkCodePage, true);
}

}  // namespace korvane::text
