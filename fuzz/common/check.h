#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace korvane::fuzz {

// A property a target relies on. A failure aborts, which libFuzzer reports as a crash and
// keeps the input that caused it.
inline void Require(bool holds, std::string_view what) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %.*s\n", static_cast<int>(what.size()), what.data());
        std::abort();
    }
}

}  // namespace korvane::fuzz
