#pragma once

#include "app/form_table.h"

namespace korvane::app {

// The main window: account and navigation on the left, heading, clock and search on top, the
// page area with the dashboard below.
const FormTable& MainForm();

// Height of the caption strip of the tab controls; a page starts this far below its control.
inline constexpr int kTabStrip = 36;

}  // namespace korvane::app
