#include "app/registration_panel.h"

namespace korvane::app {

// Registration is not offered yet: the panel's buttons do nothing.
void RegisterAccount(LoginWindow&) {}

void RequestCode(LoginWindow&) {}

void CountdownTick(LoginWindow&) {}

}  // namespace korvane::app
