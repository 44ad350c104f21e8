#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

#include "net/web_fetch.h"

namespace korvane::net {

// The bounds and trust settings of a fetch. WebFetch without options uses these defaults;
// callers that must trust a particular CA, and tests that need short limits, pass their own.
struct FetchOptions {
    // CA bundle file for https. Unset: the compiled-in bundle. Empty: the system's CAs. A file
    // given (here or compiled in) is the only thing trusted.
    std::optional<std::string> caBundle;
    // Until the connection, TLS handshake included, is up.
    std::chrono::milliseconds connectTimeout{10'000};
    // Give up when less than a byte a second moved for this long (whole seconds, at least 1).
    std::chrono::seconds stallTimeout{20};
    // The whole call, however steadily a server trickles.
    std::chrono::seconds totalTimeout{120};
    // Larger response bodies fail the call.
    std::size_t maxBodyBytes = std::size_t{16} << 20;
};

// WebFetch with explicit options; the other parameters are WebFetch's.
ByteBuffer WebFetch(const FetchOptions& options, std::string_view url, int method = kMethodGet,
                    std::string_view postText = {},
                    std::optional<std::string_view> cookies = std::nullopt,
                    std::string* cookiesOut = nullptr, std::string_view headers = {},
                    std::string* headersOut = nullptr, bool noRedirect = false,
                    const ByteBuffer& postBytes = {}, std::string_view proxy = {});

}  // namespace korvane::net
