#include "support/json_value.h"

#include <charconv>
#include <cstdint>

namespace korvane::testing {

namespace {

constexpr int kMaxDepth = 64;

const JsonValue& NullValue() {
    static const JsonValue kNull;
    return kNull;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> ParseDocument() {
        JsonValue value;
        if (!ParseValue(value, 0)) {
            return std::nullopt;
        }
        SkipSpace();
        if (pos_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

  private:
    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }

    bool Consume(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) {
            return false;
        }
        pos_ += word.size();
        return true;
    }

    bool ParseValue(JsonValue& value, int depth) {
        if (depth > kMaxDepth) {
            return false;
        }
        SkipSpace();
        if (pos_ >= text_.size()) {
            return false;
        }
        switch (text_[pos_]) {
            case '{':
                return ParseObject(value, depth);
            case '[':
                return ParseArray(value, depth);
            case '"':
                value.kind_ = JsonValue::Kind::kString;
                return ParseString(value.text_);
            case 't':
                value.kind_ = JsonValue::Kind::kBool;
                value.boolean_ = true;
                return Consume("true");
            case 'f':
                value.kind_ = JsonValue::Kind::kBool;
                return Consume("false");
            case 'n':
                return Consume("null");
            default:
                return ParseNumber(value);
        }
    }

    bool ParseObject(JsonValue& value, int depth) {
        value.kind_ = JsonValue::Kind::kObject;
        ++pos_;
        SkipSpace();
        if (Consume("}")) {
            return true;
        }
        while (true) {
            SkipSpace();
            std::string name;
            if (pos_ >= text_.size() || text_[pos_] != '"' || !ParseString(name)) {
                return false;
            }
            SkipSpace();
            if (!Consume(":")) {
                return false;
            }
            JsonValue member;
            if (!ParseValue(member, depth + 1)) {
                return false;
            }
            value.names_.push_back(std::move(name));
            value.items_.push_back(std::move(member));
            SkipSpace();
            if (Consume("}")) {
                return true;
            }
            if (!Consume(",")) {
                return false;
            }
        }
    }

    bool ParseArray(JsonValue& value, int depth) {
        value.kind_ = JsonValue::Kind::kArray;
        ++pos_;
        SkipSpace();
        if (Consume("]")) {
            return true;
        }
        while (true) {
            JsonValue item;
            if (!ParseValue(item, depth + 1)) {
                return false;
            }
            value.items_.push_back(std::move(item));
            SkipSpace();
            if (Consume("]")) {
                return true;
            }
            if (!Consume(",")) {
                return false;
            }
        }
    }

    bool ParseHex4(std::uint32_t& out) {
        if (pos_ + 4 > text_.size()) {
            return false;
        }
        const char* begin = text_.data() + pos_;
        auto [end, error] = std::from_chars(begin, begin + 4, out, 16);
        if (error != std::errc() || end != begin + 4) {
            return false;
        }
        pos_ += 4;
        return true;
    }

    bool ParseString(std::string& out) {
        ++pos_;  // opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) {
                return false;
            }
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    std::uint32_t cp = 0;
                    if (!ParseHex4(cp)) {
                        return false;
                    }
                    if (cp >= 0xD800 && cp < 0xDC00 && Consume("\\u")) {
                        std::uint32_t low = 0;
                        if (!ParseHex4(low)) {
                            return false;
                        }
                        cp = (low >= 0xDC00 && low < 0xE000)
                                 ? 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00)
                                 : 0xFFFD;
                    } else if (cp >= 0xD800 && cp < 0xE000) {
                        cp = 0xFFFD;  // a lone surrogate
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    bool ParseNumber(JsonValue& value) {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
        }
        while (pos_ < text_.size() &&
               std::string_view("0123456789.eE+-").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
        const char* begin = text_.data() + start;
        const char* end = text_.data() + pos_;
        if (begin == end || *begin == '+') {
            return false;
        }
        auto [parsed, error] = std::from_chars(begin, end, value.number_);
        value.kind_ = JsonValue::Kind::kNumber;
        return error == std::errc() && parsed == end;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

std::optional<JsonValue> JsonValue::Parse(std::string_view text) {
    return JsonParser(text).ParseDocument();
}

bool JsonValue::Has(std::string_view name) const {
    for (const std::string& n : names_) {
        if (n == name) {
            return true;
        }
    }
    return false;
}

const JsonValue& JsonValue::operator[](std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == name) {
            return items_[i];
        }
    }
    return NullValue();
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
    return index < items_.size() ? items_[index] : NullValue();
}

}  // namespace korvane::testing
