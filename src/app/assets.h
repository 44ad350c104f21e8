#pragma once

#include <QIcon>

namespace korvane::app {

// Makes the embedded pictures (":/assets/...") readable; safe to call more than once.
void LoadAssets();

// The Korvane icon at every size it was drawn for, for the windows and the taskbar.
QIcon ApplicationIcon();

}  // namespace korvane::app
