#include "net/text_ops.h"

#include "net/web_fetch.h"

namespace korvane::net {

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

char LowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// Width in bytes of the code-page-936 character starting at `at`.
std::size_t CharWidth(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (IsLeadByte(lead) && at + 1 < text.size() &&
        IsTrailByte(static_cast<unsigned char>(text[at + 1]))) {
        return 2;
    }
    return 1;
}

bool IsSpaceChar(std::string_view ch) {
    return ch == " " || ch == kFullWidthSpace;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerChar(c);
    }
    return lower;
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size() || needle.size() > text.size() - from) {
        return std::string_view::npos;
    }
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < needle.size() && LowerChar(text[at + i]) == LowerChar(needle[i])) {
            ++i;
        }
        if (i == needle.size()) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::string ReplaceAllNoCase(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(text);
    }
    std::string result;
    std::size_t done = 0;
    for (std::size_t at = FindNoCase(text, from); at != std::string_view::npos;
         at = FindNoCase(text, from, done)) {
        result.append(text.substr(done, at - done)).append(to);
        done = at + from.size();
    }
    result.append(text.substr(done));
    return result;
}

std::string Trim(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t width = CharWidth(text, begin);
        if (!IsSpaceChar(text.substr(begin, width))) {
            break;
        }
        begin += width;
    }
    std::size_t end = begin;
    for (std::size_t at = begin; at < text.size();) {
        const std::size_t width = CharWidth(text, at);
        const bool space = IsSpaceChar(text.substr(at, width));
        at += width;
        if (!space) {
            end = at;
        }
    }
    return std::string(text.substr(begin, end - begin));
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right) {
    const std::size_t leftAt = text.find(left);
    if (leftAt == std::string_view::npos) {
        return {};
    }
    const std::size_t start = leftAt + left.size();
    const std::size_t rightAt = text.find(right, start);
    if (rightAt == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(start, rightAt - start));
}

std::string TextAfterColon(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return {};
    }
    return Trim(text.substr(colon + 1));
}

}  // namespace korvane::net
