// UrlHost, UrlPort and UrlPath on any text: what each must give follows from how the others
// read the same URL.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/check.h"
#include "net/web_fetch.h"

namespace {

using korvane::fuzz::Require;

bool HasUpper(std::string_view text) {
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            return true;
        }
    }
    return false;
}

bool AllDigits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane::net;
    const std::string_view url(reinterpret_cast<const char*>(data), size);

    const std::string withPort = UrlHost(url, true);
    const std::string host = UrlHost(url, false);
    Require(!HasUpper(withPort), "the host is in lower case");
    Require(withPort.find('/') == std::string::npos, "the host ends at the first slash");
    Require(host.find(':') == std::string::npos, "the host without port has no colon");
    Require(withPort.starts_with(host) &&
                (withPort.size() == host.size() || withPort[host.size()] == ':'),
            "the host is the host-and-port up to its first colon");

    // Written out as a plain URL again, the host reads back as itself.
    Require(UrlHost("http://" + withPort + "/", true) == withPort, "the host reads back");
    Require(UrlHost("https://" + withPort, true) == withPort, "the host reads back over https");

    const int port = UrlPort(url);
    const std::size_t colon = withPort.rfind(':');
    if (colon == std::string::npos) {
        Require(port == (Lower(url.substr(0, 5)) == "https" ? 443 : 80), "the scheme's port");
    } else {
        const std::string_view digits = std::string_view(withPort).substr(colon + 1);
        Require(port >= 0, "a port is never negative");
        if (digits.empty() || digits[0] < '0' || digits[0] > '9') {
            Require(port == 0, "a port that is not a number is 0");
        } else if (digits.size() <= 5 && AllDigits(digits)) {
            Require(port == std::stoi(std::string(digits)), "the port's digits");
        }
    }

    const std::string path = UrlPath(url);
    Require(path.starts_with('/'), "the path begins with a slash");
    Require(path == "/" || url.ends_with(path), "the path is the end of the URL");
    // Behind a scheme the path starts at the first slash after it; without one, and with no
    // "http://" further on, at the first slash of all.
    const std::string lower = Lower(url);
    std::size_t from = std::string::npos;
    if (lower.starts_with("https://")) {
        from = 8;
    } else if (lower.starts_with("http://")) {
        from = 7;
    } else if (lower.find("http://") == std::string::npos) {
        from = 0;
    }
    if (from != std::string::npos) {
        const std::size_t slash = url.find('/', from);
        Require(path == (slash == std::string_view::npos ? "/" : url.substr(slash)),
                "the path starts at the slash after the host");
    }
    return 0;
}
