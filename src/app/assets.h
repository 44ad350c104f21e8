#pragma once

namespace korvane::app {

// Makes the embedded pictures (":/assets/...") readable; safe to call more than once.
void LoadAssets();

}  // namespace korvane::app
