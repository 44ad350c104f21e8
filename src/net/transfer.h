#pragma once

#include <curl/curl.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "net/curl_handles.h"
#include "net/fetch_options.h"
#include "net/response_headers.h"
#include "net/web_fetch.h"

// The pieces of one libcurl transfer that WebFetch sets up: what it collects, and the groups
// of options it applies.
namespace korvane::net {

// What a transfer collects. Body and header bytes are both held to the body cap.
struct Transfer {
    std::size_t maxBytes = 0;
    ByteBuffer body;
    std::size_t headerBytes = 0;
    ResponseHeaderLines headers;
    // A HEAD sent with a body goes out under a custom verb, so libcurl would wait for the body
    // the reply announces but never sends; the transfer is ended once the headers are in.
    bool endAfterHeaders = false;
    bool endedAfterHeaders = false;
};

// Body and header callbacks collecting into `transfer`.
void SetCollection(Settings& set, Transfer& transfer);

// Connect, stall and whole-call time-outs.
void SetTimeLimits(Settings& set, const FetchOptions& options);

// Certificate and host checks, always on; a CA bundle file, when given, is all that is trusted.
void SetTrust(Settings& set, const std::string& caBundle);

// The verb and the request body. `payload` must stay alive until the transfer ends.
void SetVerbAndBody(Settings& set, int verb, std::string_view payload, Transfer& transfer);

// Whether a finished transfer counts as a response received.
bool Received(CURLcode result, const Transfer& transfer);

}  // namespace korvane::net
