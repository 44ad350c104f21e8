// The real client binary on a virtual display against devservice on the compiled-in ports:
// a person closes the notice, signs in, opens a message, and leaves through the exit button.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "client_session.h"
#include "support/dev_service.h"
#include "x_session.h"

namespace korvane::e2e {
namespace {

using korvane::testing::DevService;

constexpr const char* kAccount = "demo";
constexpr const char* kPassword = "Korvane-2026";

TEST(ClientEndToEnd, SignInShowMessageAndExit) {
    DevService::Options options;
    options.fixedPorts = true;
    DevService service(options);
    ASSERT_TRUE(service.Ok()) << service.Log();
    service.CreateAccount(kAccount, kPassword);

    VirtualDisplay display(1400, 1000);
    ASSERT_TRUE(display.Ok());

    const RuntimeFolder runtime;
    const std::filesystem::path shots = KORVANE_SCREENSHOT_DIR;
    ChildProcess client({KORVANE_CLIENT_BINARY}, ClientEnvironment(display, runtime.Path()));

    // The notice comes first, in the system message box.
    ASSERT_TRUE(CloseSystemMessageBox(display));

    const std::optional<XWindow> login = WaitForWindow(display, client.Pid(), 760, 470);
    ASSERT_TRUE(login);
    display.Click(login->x + 453 + 120, login->y + 185 + 17);
    display.Type(kAccount);
    display.Key("Tab");
    display.Type(kPassword);
    EXPECT_TRUE(display.Screenshot(shots / "login_window.png", login));
    display.Key("Return");

    const std::optional<XWindow> main = WaitForWindow(display, client.Pid(), 1100, 800);
    ASSERT_TRUE(main);
    EXPECT_TRUE(Gone(display, client.Pid(), 760, 470));
    EXPECT_EQ(CountRequests(service, "User/login"), 1u);
    // Let the clock show the time before the picture is taken.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(display.Screenshot(shots / "main_window.png", main));

    // The search button answers with a message window over the veiled main window.
    display.Click(main->x + 904 + 52, main->y + 79 + 20);
    const std::optional<XWindow> message = WaitForWindow(display, client.Pid(), 389, 215);
    ASSERT_TRUE(message);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(display.Screenshot(shots / "message_window.png", main));
    display.Focus(*message);
    display.Key("Return");
    EXPECT_TRUE(Gone(display, client.Pid(), 389, 215));

    display.Click(main->x + 56 + 11, main->y + 704 + 11);
    EXPECT_EQ(client.WaitForExit(std::chrono::seconds(20)), std::optional<int>(0));
    EXPECT_EQ(CountRequests(service, "User/logout"), 1u);
}

}  // namespace
}  // namespace korvane::e2e
