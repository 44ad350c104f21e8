#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane::net {

inline constexpr std::string_view kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// The agent a request identifies itself with: the caller's User-Agent line when `headers`
// holds one, the default agent otherwise.
std::string UserAgentFor(std::string_view headers);

// The request header block: the caller's lines first, then each default the caller did not
// give (Accept, Referer, Accept-Language, Content-Type), then the cookie line. Lines are
// separated by CR LF, with no final CR LF.
std::string HeaderBlock(std::string_view headers, std::string_view url,
                        std::optional<std::string_view> cookies);

}  // namespace korvane::net
