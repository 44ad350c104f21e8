// Any text loaded into a document, then read the way the windows read replies. Never a crash or
// a hang; what loads as an object or an array writes JSON text that loads again, to the same
// text unless characters the code page cannot hold were written as "?" (two keys can then
// become one); and the reads of one member agree with each other. The paths read are the
// document's own member names that are plain identifiers, and element indexes, picked by the
// input's last byte, so no input chooses script text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "common/check.h"
#include "script/json_doc.h"

namespace {

using korvane::fuzz::Require;
using korvane::script::JsonDoc;
using korvane::script::JsonType;

bool IsIdentifier(const std::string& name) {
    if (name.empty() || name.size() > 32) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        const bool letter =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
        if (!letter && !(i > 0 && c >= '0' && c <= '9')) {
            return false;
        }
    }
    return true;
}

bool KnownType(JsonType type) {
    switch (type) {
        case JsonType::Null:
        case JsonType::Number:
        case JsonType::Object:
        case JsonType::Array:
        case JsonType::String:
        case JsonType::Other:
            return true;
    }
    return false;
}

std::string Formatted(double number) {
    char text[64];
    std::snprintf(text, sizeof text, "%.13g", number);
    return text;
}

// The reads of one member (a path of the document) agree with each other.
void ReadMember(JsonDoc& doc, const std::string& path) {
    const JsonType type = doc.TypeOf(path);
    Require(KnownType(type), "TypeOf gives a known code");
    const bool has = doc.Has(path);
    Require(!has || type != JsonType::Null, "a member that is there is not Null");
    Require(has || type == JsonType::Null || type == JsonType::Other,
            "a member that is not there is Null");
    const std::string text = doc.GetText(path);
    if (type == JsonType::Number) {
        Require(text == Formatted(doc.GetNumber(path)), "a number reads as %.13g writes it");
    }
    if (type == JsonType::Null) {
        Require(text.empty(), "a missing member reads as the empty text");
    }
    const std::string json = doc.GetText(path, true);
    if (type == JsonType::Array) {
        Require(json.starts_with('['), "an array writes as one");
    }
    if (type == JsonType::Object) {
        Require(json.starts_with('{'), "an object writes as one");
    }
    if (type == JsonType::String) {
        Require(json.starts_with('"'), "a string writes as one");
    }
    doc.Count(path);
    std::vector<std::string> keys;
    doc.Keys(keys, path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonDoc doc;
    if (!doc.Load(text)) {
        return 0;
    }
    const JsonType type = doc.TypeOf();
    Require(KnownType(type), "TypeOf gives a known code");
    const std::string json = doc.ToJson();
    std::vector<std::string> keys;
    const int keyCount = doc.Keys(keys);
    Require(keyCount == static_cast<int>(keys.size()), "Keys counts the names it gives");
    const int count = doc.Count();
    if ((type == JsonType::Object || type == JsonType::Array) &&
        json.find("JSONString") == std::string::npos &&
        json.find("parseJSON") == std::string::npos && json.find("\\u0000") == std::string::npos) {
        // Names that hold commas split into more pieces; otherwise one name per member.
        Require(keyCount >= count, "at least one name per member");
    }

    if (type == JsonType::Object || type == JsonType::Array) {
        JsonDoc again;
        Require(again.Load(json), "written JSON loads again");
        if (json.find('?') == std::string::npos) {
            Require(again.ToJson() == json, "written JSON writes the same again");
        }
    }

    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    std::vector<std::string> paths;
    if (type == JsonType::Array) {
        paths.push_back("[" + std::to_string(pick % 4) + "]");
    }
    for (std::size_t i = 0; i < keys.size() && paths.size() < 3; ++i) {
        const std::string& name = keys[(i + pick) % keys.size()];
        if (type == JsonType::Object && IsIdentifier(name)) {
            paths.push_back(name);
        }
    }
    paths.push_back("none");
    for (const std::string& path : paths) {
        ReadMember(doc, path);
    }
    if (paths.size() > 1 && doc.TypeOf(paths[0]) == JsonType::Object) {
        const JsonDoc member = doc.GetDoc(paths[0]);
        JsonDoc copy = member;
        if (doc.GetText(paths[0], true).find('?') == std::string::npos) {
            Require(copy.ToJson() == doc.GetText(paths[0], true), "a member's document is it");
        }
        ReadMember(copy, "none");
    }
    return 0;
}
