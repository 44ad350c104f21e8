#include "net/header_list.h"

#include <string>

namespace korvane::net {

namespace {

// An entry with nothing after the colon is never sent and stops libcurl adding its own.
constexpr const char* kTransportDefaultsOff[] = {"Accept:", "Expect:", "Proxy-Connection:"};

// libcurl drops an entry whose value is blank; written "Name;" it goes out as "Name:".
std::string WireLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos ||
        line.find_first_not_of(" \t", colon + 1) != std::string_view::npos) {
        return std::string(line);
    }
    std::string named(line.substr(0, colon));
    named += ';';
    return named;
}

bool Append(HeaderList& list, const char* line) {
    curl_slist* head = curl_slist_append(list.get(), line);
    if (head == nullptr) {
        return false;
    }
    if (!list) {
        list.reset(head);
    }
    return true;
}

}  // namespace

bool BuildHeaderList(std::string_view block, HeaderList& list) {
    std::size_t start = 0;
    while (start <= block.size()) {
        std::size_t end = block.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = block.size();
        }
        if (end > start && !Append(list, WireLine(block.substr(start, end - start)).c_str())) {
            return false;
        }
        start = end + 1;
    }
    for (const char* off : kTransportDefaultsOff) {
        if (!Append(list, off)) {
            return false;
        }
    }
    return true;
}

}  // namespace korvane::net
