// The response side of WebFetch: header lines as the transport hands them over, collected into
// the raw header text, "Set-Cookie" normalised, and the cookies taken out of it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/check.h"
#include "net/response_headers.h"
#include "net/web_fetch.h"

namespace {

using korvane::fuzz::Require;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// Lines of the raw text that name a cookie: split at CR LF, the empty last piece dropped.
std::size_t CookieLines(std::string_view raw) {
    std::size_t count = 0;
    while (!raw.empty()) {
        const std::size_t end = raw.find("\r\n");
        const std::string_view line = raw.substr(0, end);
        count += line.find("Set-Cookie") != std::string_view::npos ? 1 : 0;
        raw = end == std::string_view::npos ? std::string_view() : raw.substr(end + 2);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane::net;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    // The transport delivers one line at a time, each with its line feed.
    ResponseHeaderLines lines;
    for (std::string_view rest = input; !rest.empty();) {
        const std::size_t end = rest.find('\n');
        const std::size_t take = end == std::string_view::npos ? rest.size() : end + 1;
        lines.Add(rest.substr(0, take));
        rest.remove_prefix(take);
    }
    const auto collected = lines.RawText();
    if (collected) {
        Require(collected->size() <= kRawHeaderLimit, "raw headers fit the caller's buffer");
        Require(collected->find('\0') == std::string::npos, "raw headers are a text");
        Require(collected->empty() || collected->starts_with("HTTP/"),
                "raw headers begin with the status line");
    }

    // Both the collected headers and the input as it stands go through the cookie parsing.
    const std::string collectedText = collected.value_or("");
    for (const std::string_view raw : {std::string_view(collectedText), input}) {
        const std::string normal = NormaliseSetCookie(raw);
        Require(normal.size() == raw.size() && Lower(normal) == Lower(raw),
                "normalising changes letter case only");
        const std::string lower = Lower(normal);
        for (std::size_t at = lower.find("set-cookie"); at != std::string::npos;
             at = lower.find("set-cookie", at + 1)) {
            Require(normal.compare(at, 10, "Set-Cookie") == 0, "every Set-Cookie normalised");
        }
        Require(NormaliseSetCookie(normal) == normal, "normalising twice changes nothing");

        // A cookie never holds ";" (it ends before the first one), so every ";" of the result
        // separates two cookies.
        const std::string cookies = CookiesFromHeaders(normal);
        std::size_t separators = 0;
        for (std::size_t at = cookies.find(';'); at != std::string::npos;
             at = cookies.find(';', at + 1)) {
            Require(cookies.compare(at, 2, "; ") == 0, "cookies are joined by \"; \"");
            ++separators;
        }
        const std::size_t found = CookieLines(normal);
        Require(separators + 1 == (found == 0 ? 1 : found), "one cookie per Set-Cookie line");
        for (std::string_view rest = cookies;;) {
            const std::size_t end = rest.find("; ");
            const std::string_view cookie = rest.substr(0, end);
            Require(!cookie.starts_with(' ') && !cookie.ends_with(' '), "cookies are trimmed");
            if (end == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(end + 2);
        }
    }
    return 0;
}
