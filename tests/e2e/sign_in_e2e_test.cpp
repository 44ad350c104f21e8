// The real client binary on a virtual display against devservice on the compiled-in ports:
// a person closes the notice, signs in, opens a message, and leaves through the exit button.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "support/dev_service.h"
#include "x_session.h"

namespace korvane::e2e {
namespace {

using korvane::testing::DevService;
using korvane::testing::JsonValue;

constexpr const char* kAccount = "demo";
constexpr const char* kPassword = "Korvane-2026";

// The client window of `pid` whose content is `width` × `height` (a shadow band may surround
// it), once it is mapped.
std::optional<XWindow> WaitForWindow(VirtualDisplay& display, pid_t pid, int width, int height) {
    std::optional<XWindow> found;
    WaitUntil([&] {
        for (const XWindow& window : display.WindowsOf(pid)) {
            const int marginX = window.width - width;
            const int marginY = window.height - height;
            if (marginX >= 0 && marginX == marginY && marginX % 2 == 0 && marginX <= 80) {
                found = window;
                found->x += marginX / 2;
                found->y += marginY / 2;
                found->width = width;
                found->height = height;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool Gone(VirtualDisplay& display, pid_t pid, int width, int height) {
    return WaitUntil([&] {
        for (const XWindow& window : display.WindowsOf(pid)) {
            if (window.width >= width && window.height >= height &&
                window.width - width == window.height - height && window.width - width <= 80) {
                return false;
            }
        }
        return true;
    });
}

std::size_t CountRequests(DevService& service, std::string_view endpoint) {
    std::size_t count = 0;
    const JsonValue log = service.GetJson("admin/requests");
    for (const JsonValue& request : log["requests"].Items()) {
        count += request["endpoint"].String() == endpoint ? 1 : 0;
    }
    return count;
}

// The value of the environment variable `name` with `option` added.
std::string WithOption(const char* name, const std::string& option) {
    const char* given = std::getenv(name);
    return given != nullptr && *given != '\0' ? std::string(given) + ":" + option : option;
}

TEST(ClientEndToEnd, SignInShowMessageAndExit) {
    DevService::Options options;
    options.fixedPorts = true;
    DevService service(options);
    ASSERT_TRUE(service.Ok()) << service.Log();
    service.CreateAccount(kAccount, kPassword);

    VirtualDisplay display(1400, 1000);
    ASSERT_TRUE(display.Ok());

    const std::filesystem::path runtime =
        std::filesystem::temp_directory_path() / ("korvane-e2e-" + std::to_string(::getpid()));
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    const std::filesystem::path shots = KORVANE_SCREENSHOT_DIR;

    // In sanitizer builds: the client's leak check skips what the system's D-Bus keeps, and
    // its race check leaves Qt (not built with the sanitizer) alone.
    const std::string leakOptions =
        WithOption("LSAN_OPTIONS", "suppressions=" KORVANE_LSAN_SUPPRESSIONS);
    const std::string raceOptions = WithOption("TSAN_OPTIONS", "ignore_noninstrumented_modules=1");
    ChildProcess client({KORVANE_CLIENT_BINARY}, {{"DISPLAY", display.Display()},
                                                  {"QT_QPA_PLATFORM", "xcb"},
                                                  {"XDG_RUNTIME_DIR", runtime.string()},
                                                  {"LSAN_OPTIONS", leakOptions},
                                                  {"TSAN_OPTIONS", raceOptions}});

    // The notice comes first, in the system message box.
    std::vector<XWindow> notice;
    ASSERT_TRUE(WaitUntil([&] { return !(notice = display.WindowsNamed("信息：")).empty(); }));
    display.Focus(notice[0]);
    display.Key("Return");
    ASSERT_TRUE(WaitUntil([&] { return display.WindowsNamed("信息：").empty(); }));

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

    std::filesystem::remove_all(runtime);
}

}  // namespace
}  // namespace korvane::e2e
