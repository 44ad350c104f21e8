// The decoder script's base64_decode against an independent model. The input goes to the
// script as a string argument; a probe reports, as hexadecimal code units, both the string the
// script received and what base64_decode made of it, so that the model decodes exactly what
// the script saw and the boundary's conversion is checked on the way.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/check.h"
#include "script/script_host.h"
#include "service/authcode_reference.h"
#include "service/authcode_script.h"

namespace {

using korvane::fuzz::Require;
using korvane::fuzz::Units;

constexpr std::string_view kProbe = R"(
function fuzz_units(s) {
    var hex = "0123456789abcdef", out = "", i, c;
    for (i = 0; i < s.length; i++) {
        c = s.charCodeAt(i);
        out += hex.charAt(c >> 12 & 15) + hex.charAt(c >> 8 & 15) +
               hex.charAt(c >> 4 & 15) + hex.charAt(c & 15);
    }
    return out;
}
function fuzz_base64_probe(s) {
    return fuzz_units(s) + "|" + fuzz_units(base64_decode(s));
}
)";

Units ParseUnits(std::string_view hex) {
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    Units units;
    for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
        units.push_back(static_cast<std::uint16_t>(digit(hex[i]) << 12 | digit(hex[i + 1]) << 8 |
                                                   digit(hex[i + 2]) << 4 | digit(hex[i + 3])));
    }
    return units;
}

korvane::script::ScriptHost& Host() {
    // One engine for every input: base64_decode keeps no state, and a fresh heap per input
    // would cost more than the decoding.
    static korvane::script::ScriptHost host = [] {
        korvane::script::ScriptHost h;
        Require(h.ExecuteStatement(korvane::service::AuthcodeScript), "the script loads");
        Require(h.ExecuteStatement(kProbe), "the probe loads");
        return h;
    }();
    return host;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string report = Host().Run("fuzz_base64_probe", input);
    const std::size_t bar = report.find('|');
    Require(bar != std::string::npos, "the probe answers");

    const Units seen = ParseUnits(std::string_view(report).substr(0, bar));
    Require(seen == korvane::fuzz::EngineUnits(input), "the script receives the text's characters");

    const Units decoded = ParseUnits(std::string_view(report).substr(bar + 1));
    const std::string expected = korvane::fuzz::Base64Reference(seen);
    Require(decoded.size() == expected.size(), "as many characters as the model");
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        Require(decoded[i] == static_cast<unsigned char>(expected[i]), "the model's characters");
    }
    return 0;
}
