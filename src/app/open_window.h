#pragma once

#include <Qt>

namespace korvane::app {

// Opens a window that destroys itself when closed (the program ends with the last window),
// then runs its creation handler.
template <typename Window>
Window* OpenWindow() {
    auto* window = new Window();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->CentreOnScreen();
    window->show();
    window->OnCreated();
    return window;
}

}  // namespace korvane::app
