#pragma once

#include <string>
#include <string_view>

namespace korvane::script {

// Client text made safe to place between single quotes in script text: the quote, the
// backslash and the line terminators are escaped, so the literal holds exactly the text.
// A text without them comes back unchanged.
std::string EscapeForSingleQuotes(std::string_view text);

}  // namespace korvane::script
