#pragma once

namespace korvane::app {

// The client's identity at the account service.
inline constexpr const char* kApplicationId = "1";
inline constexpr const char* kApplicationKey = "Tq3Hc8WmZr5Bx1NvKe7Lp2YdFs9Gu4JoAi6RwEb0";

}  // namespace korvane::app
