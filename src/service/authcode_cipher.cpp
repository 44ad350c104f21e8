#include "service/authcode_cipher.h"

#include <array>
#include <chrono>
#include <utility>

#include "platform/md5.h"

namespace korvane::service {

namespace {

using platform::Md5Hex;

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr std::uint64_t kFileTimeAtUnixEpoch = 116444736000000000ULL;

constexpr std::string_view kBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::uint64_t FileTimeNow() {
    using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
    const auto sinceUnixEpoch =
        std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch());
    return kFileTimeAtUnixEpoch + static_cast<std::uint64_t>(sinceUnixEpoch.count());
}

std::string SaltFromFileTime(std::uint64_t fileTime) {
    const std::string digest = Md5Hex(std::to_string(fileTime));
    return digest.substr(digest.size() - kSaltLength);
}

void AuthcodeStream(std::string_view cryptkey, std::string& block) {
    std::array<unsigned char, 256> box{};
    for (std::size_t i = 0; i < box.size(); ++i) {
        box[i] = static_cast<unsigned char>(i);
    }
    unsigned j = 0;
    for (std::size_t i = 0; i < box.size(); ++i) {
        const auto keyByte = static_cast<unsigned char>(cryptkey[i % cryptkey.size()]);
        j = (j + box[i] + keyByte) & 0xFF;
        std::swap(box[i], box[j]);
    }
    unsigned a = 0;
    j = 0;
    for (char& c : block) {
        a = (a + 1) & 0xFF;
        j = (j + box[a]) & 0xFF;
        std::swap(box[a], box[j]);
        const unsigned char k = box[(box[a] + box[j]) & 0xFF];
        c = static_cast<char>(static_cast<unsigned char>(c) ^ k);
    }
}

std::string Base64WithoutPadding(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
            static_cast<unsigned char>(bytes[i + 2]);
        out.push_back(kBase64Alphabet[(group >> 18) & 0x3F]);
        out.push_back(kBase64Alphabet[(group >> 12) & 0x3F]);
        out.push_back(kBase64Alphabet[(group >> 6) & 0x3F]);
        out.push_back(kBase64Alphabet[group & 0x3F]);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]))
                              << 16;
        if (rest == 2) {
            group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        }
        out.push_back(kBase64Alphabet[(group >> 18) & 0x3F]);
        out.push_back(kBase64Alphabet[(group >> 12) & 0x3F]);
        if (rest == 2) {
            out.push_back(kBase64Alphabet[(group >> 6) & 0x3F]);
        }
    }
    return out;
}

std::string AuthcodeEncodeWithSalt(std::string_view data, std::string_view key,
                                   std::string_view salt, std::string_view expiry) {
    const std::string k = Md5Hex(key);
    const std::string keya = Md5Hex(std::string_view(k).substr(0, 16));
    const std::string keyb = Md5Hex(std::string_view(k).substr(16, 16));
    const std::string cryptkey = keya + Md5Hex(keya + std::string(salt));

    std::string block(expiry);
    block += Md5Hex(std::string(data) + keyb).substr(0, 16);
    block += data;
    AuthcodeStream(cryptkey, block);
    return std::string(salt) + Base64WithoutPadding(block);
}

}  // namespace korvane::service
