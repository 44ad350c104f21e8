#pragma once

#include <functional>
#include <string>

namespace korvane::ui {

// The platform's message box: caption "信息：", one OK button, no icon, application-modal,
// no owner window. `clientText` is client text. Returns when the user has closed it.
void ShowSystemMessageBox(const std::string& clientText);

// Where a window's handlers send their system messages. The program keeps the real box;
// tests put a recorder in `show`, so nothing modal waits for a person.
struct SystemMessageBox {
    std::function<void(const std::string& clientText)> show = ShowSystemMessageBox;
};

}  // namespace korvane::ui
