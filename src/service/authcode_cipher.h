#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The native half of the authcode cipher, split out so that tests can fix the salt.
namespace korvane::service {

inline constexpr std::size_t kSaltLength = 4;

// The system clock as 100-nanosecond intervals since 1601-01-01 UTC.
std::uint64_t FileTimeNow();

// The last 4 digits of md5 of the decimal clock reading.
std::string SaltFromFileTime(std::uint64_t fileTime);

// The keyed stream (RC4 with a 256-byte box) applied to `block` in place.
void AuthcodeStream(std::string_view cryptkey, std::string& block);

// Standard Base64 with every "=" left out.
std::string Base64WithoutPadding(std::string_view bytes);

inline constexpr std::string_view kNoExpiry = "0000000000";

// AuthcodeEncode with a given 4-character salt and 10-digit expiry field.
std::string AuthcodeEncodeWithSalt(std::string_view data, std::string_view key,
                                   std::string_view salt, std::string_view expiry = kNoExpiry);

}  // namespace korvane::service
