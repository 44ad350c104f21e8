// Utf16ToText of any buffer in the code pages the client has names for, and one it has not.
// The first byte picks the code page and the flag; the rest is the buffer.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/check.h"
#include "text/code_page.h"
#include "text/utf16_units.h"

namespace {

constexpr std::uint32_t kCodePages[] = {0, 936, 65001, 1200, 1201, 20127, 54936, 28591, 4242};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane::text;
    using korvane::fuzz::Require;
    if (size == 0) {
        return 0;
    }
    const std::uint32_t codePage = kCodePages[(data[0] >> 1) % std::size(kCodePages)];
    const bool useGiven = (data[0] & 1) != 0;
    const Utf16Buffer buffer(data + 1, data + size);

    const std::string result = Utf16ToText(buffer, codePage, useGiven);
    Require(result.find('\0') == std::string::npos, "the result is one text");

    const std::string ansi = Utf16ToText(buffer, kAnsiCodePage, true);
    Require(Utf16ToText(buffer, kGbkCodePage, true) == ansi, "code page 0 is 936");
    if (!useGiven) {
        Require(result == ansi, "without the flag the ANSI code page encodes");
        return 0;
    }

    const korvane::fuzz::Units units = korvane::fuzz::UnitsOf(buffer);
    if (buffer.size() < 2) {
        Require(result.empty(), "no unit, no text");
    } else if (codePage == kUtf8CodePage) {
        const auto decoded = korvane::fuzz::DecodeUtf8(result);
        Require(decoded.has_value(), "well-formed UTF-8");
        Require(*decoded == korvane::fuzz::WithoutLoneSurrogates(units),
                "the units up to the first zero unit, lone surrogates replaced");
    } else if (codePage == kGbkCodePage || codePage == kAnsiCodePage) {
        bool question = false;
        for (std::uint16_t u : units) {
            question = question || u == '?';
        }
        if (!question && result.find('?') == std::string::npos) {
            const Utf16Buffer back = TextToUtf16(result.c_str(), kGbkCodePage, true);
            Require(korvane::fuzz::UnitsOf(back) == units, "every character held comes back");
        }
    } else if (codePage == 4242) {
        // Nothing converts: the caller receives the space-filled buffer of twice the ANSI size,
        // which counts the terminator.
        Require(result == std::string(2 * (ansi.size() + 1), ' '), "the space-filled buffer");
    }
    return 0;
}
