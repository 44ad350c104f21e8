// Any text loaded into a document: never a crash or a hang, and what loads as an object or an
// array writes JSON text that loads again, to the same text unless characters the code page
// cannot hold were written as "?" (two keys can then become one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "script/json_doc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using korvane::script::JsonDoc;
    using korvane::script::JsonType;

    const std::string text(reinterpret_cast<const char*>(data), size);
    JsonDoc doc;
    if (!doc.Load(text)) {
        return 0;
    }
    const JsonType type = doc.TypeOf();
    const std::string json = doc.ToJson();
    std::vector<std::string> keys;
    doc.Keys(keys);
    doc.Count();
    if (type == JsonType::Object || type == JsonType::Array) {
        JsonDoc again;
        if (!again.Load(json)) {
            std::abort();
        }
        if (json.find('?') == std::string::npos && again.ToJson() != json) {
            std::abort();
        }
    }
    return 0;
}
