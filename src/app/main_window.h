#pragma once

#include <string_view>

#include "app/form_lookup.h"
#include "ui/form_window.h"

namespace korvane::app {

// The window of a signed-in person: account, clock, navigation, dashboard, search and the
// sign-out button that ends the program.
class MainWindow : public ui::FormWindow {
    Q_OBJECT
  public:
    MainWindow();
    ~MainWindow() override;

    // Creation: starts the clock and shows the account name.
    void OnCreated();

    void ClockTick();
    // Applies row `row` of the navigation table.
    void Navigate(int row);
    void ShowSearchMessage();
    // Signs out with the session values, then ends the program with exit code 0.
    void SignOutAndExit();
    // The page area glides in from the left.
    void SlidePageIn();

    template <class T>
    T& Control(std::string_view name) const {
        return Find<T>(*this, name);
    }
};

// Opens the main window (not modal) and runs its creation handler. The window deletes itself
// when closed.
MainWindow* OpenMainWindow();

}  // namespace korvane::app
