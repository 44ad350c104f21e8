#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An independent model of the reply decoder, for the fuzz targets to compare the script with.
namespace korvane::fuzz {

// UTF-16 code units of a string as the script engine holds it.
using Units = std::vector<std::uint16_t>;

// The units the script receives for a client text (code page 936, ending at its first zero
// byte).
Units EngineUnits(std::string_view clientText);

// Base64 decoding as the decoder script does it, as bytes: codes are taken modulo 256, what is
// outside the alphabet is skipped, and the first member that cannot be found, or an "=" in the
// third or fourth place, ends the output.
std::string Base64Reference(const Units& input);

// Whether the bytes are UTF-8 that decodes to characters and encodes back to the same bytes:
// no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsStrictUtf8(std::string_view bytes);

enum class Verdict { Reject, Accept, Either };

struct ReferenceResult {
    Verdict verdict = Verdict::Reject;
    // The plain block's data bytes when the check field matched.
    std::string data;
};

// What decoding `cipher` under `key` must give at `unixNow`. Either is for an expiry field that
// is not plain digits (the script's loose number conversion decides) or one within a few
// seconds of now.
ReferenceResult ReferenceDecode(const Units& cipher, std::string_view key, std::int64_t unixNow);

}  // namespace korvane::fuzz
