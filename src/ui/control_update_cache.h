#pragma once

namespace korvane::ui {

// Brings the drawing of every open window up to date. Callable from any thread: the repaint
// is queued to the GUI thread. Position writes are visible without it, so this only
// requests a repaint.
void ControlUpdateCache();

}  // namespace korvane::ui
