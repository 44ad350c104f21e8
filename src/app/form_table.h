#pragma once

#include <span>

#include "ui/form_builder.h"

namespace korvane::app {

// A window's layout as data: its surface size and its controls, containers before what they
// hold, later rows stacked above earlier ones.
struct FormTable {
    int width;
    int height;
    std::span<const ui::FormEntry> rows;
};

}  // namespace korvane::app
