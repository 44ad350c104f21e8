// AuthcodeDecode, the script path, against an independent model of the decoder. The first byte
// picks what the rest is: a reply text as it stands, or the makings of a valid cipher text
// (payload, salt, expiry) followed by edits to it, so that the fuzzer also works next to texts
// that check out. Either way the decoder's answer must be the model's.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/check.h"
#include "service/authcode.h"
#include "service/authcode_cipher.h"
#include "service/authcode_reference.h"
#include "text/code_page.h"

namespace {

using korvane::fuzz::Require;
using korvane::fuzz::Verdict;

// The client's application key.
constexpr std::string_view kKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";

// Expiry fields: none, far future, past, and one the loose number test must judge.
constexpr std::string_view kExpiries[] = {"0000000000", "9999999999", "0000000001",
                                          "1000000000", "         0", "0x00000000"};

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string_view Bytes(std::size_t n) {
        n = n < size_ - at_ ? n : size_ - at_;
        const std::string_view bytes(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return bytes;
    }
    std::string_view Rest() { return Bytes(size_); }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

std::string ValidCipherWithEdits(Input& in) {
    const std::string payload(in.Bytes(in.Byte()));
    static constexpr char kHex[] = "0123456789abcdef";
    std::string salt;
    for (int i = 0; i < 2; ++i) {
        const std::uint8_t b = in.Byte();
        salt += kHex[b >> 4];
        salt += kHex[b & 0x0F];
    }
    const std::string_view expiry = kExpiries[in.Byte() % std::size(kExpiries)];
    std::string cipher = korvane::service::AuthcodeEncodeWithSalt(payload, kKey, salt, expiry);
    while (!in.Empty()) {
        const std::uint8_t op = in.Byte();
        const std::size_t at = cipher.empty() ? 0 : in.Byte() % cipher.size();
        const char value = static_cast<char>(in.Byte());
        switch (op % 4) {
            case 0:
                if (!cipher.empty()) {
                    cipher[at] = value;
                }
                break;
            case 1:
                cipher.insert(cipher.begin() + static_cast<std::ptrdiff_t>(at), value);
                break;
            case 2:
                if (!cipher.empty()) {
                    cipher.erase(at, 1);
                }
                break;
            default:
                cipher.resize(at);
                break;
        }
    }
    return cipher;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    const std::string cipher =
        in.Byte() % 2 == 0 ? std::string(in.Rest()) : ValidCipherWithEdits(in);

    const std::string decoded = korvane::service::AuthcodeDecode(cipher, kKey);

    const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    const auto model =
        korvane::fuzz::ReferenceDecode(korvane::fuzz::EngineUnits(cipher), kKey, now);
    // An accepted reply reaches the client as its UTF-8 data in code page 936.
    const std::string expected = korvane::text::Utf8ToLocal(model.data);
    switch (model.verdict) {
        case Verdict::Reject:
            Require(decoded.empty(), "a text that does not check out decodes to nothing");
            break;
        case Verdict::Accept:
            Require(decoded == expected, "a text that checks out decodes to its data");
            break;
        case Verdict::Either:
            Require(decoded.empty() || decoded == expected, "decodes to its data or nothing");
            break;
    }
    return 0;
}
