#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::testing {

// A parsed JSON value, for reading what devservice recorded. Strings are UTF-8.
class JsonValue {
  public:
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };

    // Strict JSON (one value, nothing after it); nesting is limited so bad input cannot
    // exhaust the stack.
    static std::optional<JsonValue> Parse(std::string_view text);

    Kind kind() const { return kind_; }
    bool IsNull() const { return kind_ == Kind::kNull; }
    bool Bool() const { return boolean_; }
    double Number() const { return number_; }
    // The string of a string value; empty for every other kind.
    const std::string& String() const { return text_; }
    // Elements of an array or member values of an object, in order.
    const std::vector<JsonValue>& Items() const { return items_; }
    // Member names of an object, in order, matching Items().
    const std::vector<std::string>& Names() const { return names_; }
    std::size_t size() const { return items_.size(); }
    bool Has(std::string_view name) const;

    // A missing member or index reads as a null value.
    const JsonValue& operator[](std::string_view name) const;
    const JsonValue& operator[](std::size_t index) const;

  private:
    friend class JsonParser;

    Kind kind_ = Kind::kNull;
    bool boolean_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<std::string> names_;
    std::vector<JsonValue> items_;
};

}  // namespace korvane::testing
