#include <string>

#include "net/text_ops.h"
#include "net/web_fetch.h"

namespace korvane::net {

namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

// The leading decimal digits of a text as a number, 0 when there are none. Long runs stop
// growing once they are past any port, so nothing overflows.
int LeadingNumber(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        if (value < 1'000'000) {
            value = value * 10 + (c - '0');
        }
    }
    return value;
}

// Where the text after the scheme starts, so that a host spelt like part of "http://" (such
// as "t" or "http") is not found inside the scheme.
std::size_t AfterScheme(std::string_view url) {
    const std::string head = AsciiLower(url.substr(0, kHttps.size()));
    if (head.starts_with(kHttps)) {
        return kHttps.size();
    }
    if (head.starts_with(kHttp)) {
        return kHttp.size();
    }
    return 0;
}

}  // namespace

std::string UrlHost(std::string_view url, bool keepPort) {
    std::string text = AsciiLower(url);
    if (text.empty() || text.back() != '/') {
        text += '/';
    }
    std::string host;
    if (text.starts_with(kHttps)) {
        host = TextBetween(text, kHttps, "/");
    } else {
        if (text.find(kHttp) == std::string::npos) {
            text.insert(0, kHttp);
        }
        host = TextBetween(text, kHttp, "/");
    }
    if (keepPort) {
        return host;
    }
    const std::size_t colon = host.find(':');
    return colon == std::string::npos ? host : host.substr(0, colon);
}

int UrlPort(std::string_view url) {
    const std::string host = UrlHost(url, true);
    const std::size_t colon = host.rfind(':');
    if (colon != std::string::npos) {
        return LeadingNumber(std::string_view(host).substr(colon + 1));
    }
    return AsciiLower(url.substr(0, 5)) == "https" ? 443 : 80;
}

std::string UrlPath(std::string_view url) {
    std::size_t hostAt = FindNoCase(url, UrlHost(url, false), AfterScheme(url));
    if (hostAt == std::string_view::npos) {
        hostAt = 0;
    }
    const std::size_t slash = url.find('/', hostAt);
    if (slash == std::string_view::npos) {
        return "/";
    }
    return std::string(url.substr(slash));
}

}  // namespace korvane::net
