#pragma once

#include <functional>
#include <string>

#include "verify/delivery_endpoints.h"

namespace korvane::verify {

// The system message box (caption "信息：", one OK button, no icon, task-modal, no owner),
// supplied by the window layer; returns when the user has closed it. The text is client text.
using SystemMessageBox = std::function<void(const std::string& text)>;

// Connects to the mail server (user "korvane", 3000 ms wait limit), tells the user "真" or "假"
// in the system message box, sends the code in one mail to `address` and disconnects; the mail
// is attempted even when the connection failed. The server's answers are not examined beyond
// success: false when the connection or the send failed.
bool SendCodeByEmail(const DeliveryEndpoints& endpoints, const std::string& address,
                     const std::string& code, const SystemMessageBox& showSystemMessage);
bool SendCodeByEmail(const std::string& address, const std::string& code,
                     const SystemMessageBox& showSystemMessage);

}  // namespace korvane::verify
