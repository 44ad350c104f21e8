#include "service/authcode.h"
#include "service/authcode_cipher.h"

namespace korvane::service {

std::string AuthcodeEncode(std::string_view data, std::string_view key) {
    // The data is a text: its bytes end at the first zero byte.
    const std::string_view text = data.substr(0, data.find('\0'));
    return AuthcodeEncodeWithSalt(text, key, SaltFromFileTime(FileTimeNow()));
}

}  // namespace korvane::service
