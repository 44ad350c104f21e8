#pragma once

#include <functional>
#include <string>

#include "ui/system_message_box.h"
#include "verify/delivery_endpoints.h"

namespace korvane::app {

class MessageWindow;

// What a test swaps out so that the windows run against its own service and nothing modal
// waits for a person. The program leaves every field at its default.
struct ClientSeams {
    // Base URL the login window configures the service client with.
    std::string serviceUrl;
    // Where verification codes go: the SMS gateway and the mail server.
    verify::DeliveryEndpoints deliveryEndpoints;
    // The system message box (notice, sign-in and registration results, mail server check).
    ui::SystemMessageBox systemBox;
    // Runs an opened message window until it is closed; empty runs its modal loop.
    std::function<void(MessageWindow&)> runMessageWindow;
};

// The seams of this run, starting with the compiled-in service URL and delivery settings
// and the real boxes.
ClientSeams& Seams();

// Restores the defaults.
void ResetSeams();

}  // namespace korvane::app
