// The real client binary on a virtual display against devservice on the compiled-in ports:
// a person creates an account with the code that came by mail, then signs in with it.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "client_session.h"
#include "support/dev_service.h"
#include "x_session.h"

namespace korvane::e2e {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonValue;

constexpr const char* kAddress = "newcomer@example.test";
constexpr const char* kPassword = "Register-2026";

// A point of a window, relative to its content.
struct Spot {
    int x;
    int y;
};

// The fill of an enabled primary button nobody points at.
constexpr std::uint32_t kPrimaryFill = 0x1D9BFB;
// Inside the left end of "注册" and of "登录".
constexpr Spot kRegisterButton = {137 + 8, 340 + 17};
constexpr Spot kSignInButton = {490 + 8, 297 + 17};

// Waits until the cover has left `uncovered` and lies over `covered`: the primary button at
// the one shows its fill, the one at the other does not.
bool CoverMoved(VirtualDisplay& display, const XWindow& window, Spot uncovered, Spot covered) {
    return WaitUntil([&] {
        return display.Pixel(window.x + uncovered.x, window.y + uncovered.y) == kPrimaryFill &&
               display.Pixel(window.x + covered.x, window.y + covered.y) != kPrimaryFill;
    });
}

// The code in the one mail devservice received, once it arrived.
std::string MailedCode(DevService& service) {
    std::string code;
    WaitUntil([&] {
        const JsonValue mail = service.GetJson("/admin/mail");
        if (mail["mail"].size() != 1) {
            return false;
        }
        code = mail["mail"][0]["code"].String();
        return true;
    });
    return code;
}

TEST(ClientEndToEnd, RegisterWithMailedCodeThenSignIn) {
    DevService::Options options;
    options.fixedPorts = true;
    DevService service(options);
    ASSERT_TRUE(service.Ok()) << service.Log();

    VirtualDisplay display(1400, 1000);
    ASSERT_TRUE(display.Ok());
    const RuntimeFolder runtime;
    ChildProcess client({KORVANE_CLIENT_BINARY}, ClientEnvironment(display, runtime.Path()));

    ASSERT_TRUE(CloseSystemMessageBox(display));
    const std::optional<XWindow> login = WaitForWindow(display, client.Pid(), 760, 470);
    ASSERT_TRUE(login);

    // "注册账号" slides the cover over the sign-in panel; "注册" comes out from under it.
    display.Click(login->x + 453 + 29, login->y + 366 + 10);
    ASSERT_TRUE(CoverMoved(display, *login, kRegisterButton, kSignInButton));

    display.Click(login->x + 100 + 120, login->y + 156 + 17);
    display.Type(kAddress);
    // "获取验证码": the mail server check answers "真" in the system message box.
    display.Click(login->x + 236 + 40, login->y + 294 + 12);
    ASSERT_TRUE(CloseSystemMessageBox(display));
    const std::string code = MailedCode(service);
    ASSERT_EQ(code.size(), 6u) << service.Log();
    // The same code is what a person running the demo reads in devservice's output.
    const std::string printed = std::string("Mail to ") + kAddress + ": code " + code;
    EXPECT_TRUE(WaitUntil([&] { return service.Log().find(printed) != std::string::npos; }))
        << service.Log();

    display.Click(login->x + 100 + 120, login->y + 200 + 17);
    display.Type(kPassword);
    display.Key("Tab");
    display.Type(kPassword);
    display.Key("Tab");
    display.Type(code);
    display.Click(login->x + 137 + 70, login->y + 340 + 17);

    const std::optional<XWindow> message = WaitForWindow(display, client.Pid(), 389, 215);
    ASSERT_TRUE(message);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(display.Screenshot(
        std::filesystem::path(KORVANE_SCREENSHOT_DIR) / "registration.png", login));
    EXPECT_EQ(CountRequests(service, "User/register"), 1u);
    EXPECT_TRUE(display.WindowsNamed("信息：").empty());
    display.Focus(*message);
    display.Key("Return");
    ASSERT_TRUE(Gone(display, client.Pid(), 389, 215));

    // "立即登录" slides the cover back; "登录" comes out from under it.
    display.Click(login->x + 258 + 29, login->y + 382 + 10);
    ASSERT_TRUE(CoverMoved(display, *login, kSignInButton, kRegisterButton));
    display.Click(login->x + 453 + 120, login->y + 185 + 17);
    display.Type(kAddress);
    display.Key("Tab");
    display.Type(kPassword);
    display.Key("Return");

    const std::optional<XWindow> main = WaitForWindow(display, client.Pid(), 1100, 800);
    ASSERT_TRUE(main);
    EXPECT_TRUE(Gone(display, client.Pid(), 760, 470));

    display.Click(main->x + 56 + 11, main->y + 704 + 11);
    EXPECT_EQ(client.WaitForExit(std::chrono::seconds(20)), std::optional<int>(0));

    const JsonValue log = service.GetJson("/admin/requests");
    std::vector<std::string> calls;
    for (const JsonValue& request : log["requests"].Items()) {
        calls.push_back(request["endpoint"].String() + " " +
                        std::to_string(static_cast<int>(request["code"].Number())));
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"Software/getInfo 200", "User/register 203",
                                               "User/login 608", "User/logout 610"}));
}

}  // namespace
}  // namespace korvane::e2e
