#pragma once

#include <string>
#include <string_view>

namespace korvane::script {

// Client text (code page 936) as the engine's string bytes: CESU-8, every UTF-16 unit on its
// own, as the engine keeps them. Like every client text it ends at its first zero byte.
std::string ToEngineText(std::string_view text);

// The engine's string bytes as client text. Characters the code page cannot hold become "?";
// the text ends at a U+0000, as client texts do.
std::string FromEngineText(std::string_view bytes);

}  // namespace korvane::script
