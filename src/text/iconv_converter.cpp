#include "text/iconv_converter.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace korvane::text {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// How many input bytes one undecodable unit takes: UTF-16 sources move by code units.
std::size_t SkipWidth(const std::string& from) {
    return from.rfind("UTF-16", 0) == 0 ? 2 : 1;
}

bool IsSurrogatePair(const char* in, const std::string& from) {
    auto unit = [&](int i) {
        auto b0 = static_cast<unsigned char>(in[i]);
        auto b1 = static_cast<unsigned char>(in[i + 1]);
        return from == "UTF-16BE" ? (b0 << 8 | b1) : (b1 << 8 | b0);
    };
    return unit(0) >= 0xD800 && unit(0) < 0xDC00 && unit(2) >= 0xDC00 && unit(2) < 0xE000;
}

}  // namespace

std::string IconvName(std::uint32_t codePage) {
    switch (codePage) {
        case 0:
        case 936:
            return "CP936";
        case 65001:
            return "UTF-8";
        case 1200:
            return "UTF-16LE";
        case 1201:
            return "UTF-16BE";
        case 20127:
            return "ASCII";
        case 54936:
            return "GB18030";
        case 28591:
            return "ISO-8859-1";
        default:
            return "CP" + std::to_string(codePage);
    }
}

std::optional<std::string> IconvConvert(std::string_view input, const std::string& from,
                                        const std::string& to, std::string_view replacement) {
    iconv_t raw = iconv_open(to.c_str(), from.c_str());
    if (raw == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    IconvHandle cd(raw);

    std::string out;
    out.reserve(input.size() * 2 + 8);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[1024];
    const std::size_t skip = SkipWidth(from);

    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(raw, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ (bad or unrepresentable) or EINVAL (cut-off sequence): replace one unit.
        out.append(replacement);
        std::size_t step = inLeft < skip ? inLeft : skip;
        if (skip == 2 && inLeft >= 4 && IsSurrogatePair(in, from)) {
            step = 4;  // one unrepresentable character, one replacement
        }
        in += step;
        inLeft -= step;
        iconv(raw, nullptr, nullptr, nullptr, nullptr);
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(raw, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return out;
}

}  // namespace korvane::text
