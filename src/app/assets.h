#pragma once

#include <QIcon>

namespace korvane::app {

// Makes the embedded pictures (":/assets/...") readable; safe to call more than once.
void LoadAssets();

// The Korvane icon at each size it was drawn for up to 256, for the windows and the taskbar.
QIcon ApplicationIcon();

}  // namespace korvane::app
