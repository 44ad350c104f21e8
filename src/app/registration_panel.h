#pragma once

namespace korvane::app {

class LoginWindow;

// Handlers of the registration panel of the login window, which connects them: the "注册"
// button "按钮EX1", the code button "按钮EX4" and its countdown timer "时钟1".
void RegisterAccount(LoginWindow& window);
void RequestCode(LoginWindow& window);
void CountdownTick(LoginWindow& window);

}  // namespace korvane::app
