#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::net {

// The raw response headers a caller gets hold at most this many characters; longer ones leave
// the caller's header text as kHeaderBufferSize spaces.
inline constexpr std::size_t kRawHeaderLimit = 4999;
inline constexpr std::size_t kHeaderBufferSize = 5000;

// Collects the header lines of the last response of a transfer. Every status line starts a new
// response, so interim (1xx) responses and redirects that were followed are replaced by the
// response after them; trailer lines after a response's blank line are not kept.
class ResponseHeaderLines {
  public:
    // One line as the transport delivers it, line break included. True when the line is the
    // blank line that completes a response's headers.
    bool Add(std::string_view line);

    // The status code of the response being collected, 0 before a status line.
    int Status() const { return status_; }

    // The status line and the header lines joined by CR LF; nullopt when longer than
    // kRawHeaderLimit.
    std::optional<std::string> RawText() const;

  private:
    std::vector<std::string> lines_;
    std::size_t length_ = 0;
    int status_ = 0;
    bool tooLong_ = false;
    bool open_ = false;
};

// Every "Set-Cookie", in any letter case, written "Set-Cookie".
std::string NormaliseSetCookie(std::string_view rawHeaders);

// The name=value part of every Set-Cookie line, joined by "; "; attributes are dropped and
// cookies of the same name are not merged.
std::string CookiesFromHeaders(std::string_view rawHeaders);

}  // namespace korvane::net
