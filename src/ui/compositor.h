#pragma once

namespace korvane::ui {

// Whether translucent top-level windows blend with what lies below them. Without it the
// skin draws square, opaque windows with no shadow band (an X server with no compositing
// manager would show the band as black).
bool CompositorAvailable();

}  // namespace korvane::ui
