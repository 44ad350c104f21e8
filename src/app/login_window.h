#pragma once

#include <string_view>

#include "app/form_lookup.h"
#include "ui/form_window.h"

namespace korvane::app {

// The start window: sign-in on the right, registration on the left, and the cover that
// slides between them.
class LoginWindow : public ui::FormWindow {
    Q_OBJECT
  public:
    LoginWindow();
    ~LoginWindow() override;

    // Creation: configures the service client, then shows the service notice and returns
    // once the person has closed it.
    void OnCreated();

    // "登录": signs in with the two boxes' texts; on success opens the main window and
    // closes this one, otherwise tells why in the system message box.
    void SignIn();

    // The links: the cover slides right to open the registration panel, or back left.
    void ShowRegistrationPanel();
    void ShowSignInPanel();

    template <class T>
    T& Control(std::string_view name) const {
        return Find<T>(*this, name);
    }

  protected:
    // Tab walks the edit boxes of the panel the cover leaves open, top to bottom.
    bool focusNextPrevChild(bool next) override;
};

// Opens the start window: shows it and runs its creation handler. The window deletes itself
// when closed.
LoginWindow* OpenLoginWindow();

}  // namespace korvane::app
