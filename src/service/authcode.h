#pragma once

#include <string>
#include <string_view>

namespace korvane::service {

// Cipher text of `data` under `key`: 4 salt characters and Base64 without "=".
std::string AuthcodeEncode(std::string_view data, std::string_view key);
// The data of a cipher text that checks out under `key`, as client text; empty otherwise.
std::string AuthcodeDecode(std::string_view cipherText, std::string_view key);

}  // namespace korvane::service
