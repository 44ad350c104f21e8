#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::net {

using ByteBuffer = std::vector<std::uint8_t>;

inline constexpr int kMethodGet = 0;
inline constexpr int kMethodPost = 1;
inline constexpr int kMethodHead = 2;

// One synchronous HTTP or HTTPS request; returns the response body, empty when it failed.
// `cookies` passed at all (even empty) bypasses the process-wide cookie store.
ByteBuffer WebFetch(std::string_view url, int method = kMethodGet, std::string_view postText = {},
                    std::optional<std::string_view> cookies = std::nullopt,
                    std::string* cookiesOut = nullptr, std::string_view headers = {},
                    std::string* headersOut = nullptr, bool noRedirect = false,
                    const ByteBuffer& postBytes = {}, std::string_view proxy = {});

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right);
std::string TextAfterColon(std::string_view text);
std::string UrlHost(std::string_view url, bool keepPort);
int UrlPort(std::string_view url);
std::string UrlPath(std::string_view url);

}  // namespace korvane::net
