#pragma once

#include <array>
#include <cstdint>

namespace korvane::app {

// The three navigation buttons of the main window, top to bottom.
inline constexpr std::array<const char*, 3> kNavigationButtons = {"超级按钮EX1", "超级按钮EX2",
                                                                  "超级按钮EX3"};

// The whole navigation state one button's click sets; entries follow kNavigationButtons.
struct NavigationRow {
    std::array<bool, 3> selected;
    std::array<std::uint32_t, 3> colours;
    std::array<const char*, 3> icons;
    int page;  // of "选择夹EX2"
};

inline constexpr std::uint32_t kNavSelected = 0xFF4A4FEA;
inline constexpr std::uint32_t kNavIdle = 0xFFA0A0A0;

inline constexpr std::array<NavigationRow, 3> kNavigationTable = {{
    {{true, false, false},
     {kNavSelected, kNavIdle, kNavIdle},
     {":/assets/nav_home_blue.png", ":/assets/nav_panels_grey.png", ":/assets/nav_info_grey.png"},
     0},
    {{false, true, false},
     {kNavIdle, kNavSelected, kNavIdle},
     {":/assets/nav_home_grey.png", ":/assets/nav_panels_blue.png", ":/assets/nav_info_grey.png"},
     1},
    {{false, false, true},
     {kNavIdle, kNavIdle, kNavSelected},
     {":/assets/nav_home_grey.png", ":/assets/nav_panels_grey.png", ":/assets/nav_info_blue.png"},
     2},
}};

}  // namespace korvane::app
