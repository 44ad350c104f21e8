// The real client at a device pixel ratio of 2 (QT_SCALE_FACTOR=2) on a virtual display: every
// window keeps its layout at twice the size and draws what it draws at 1x.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "client_session.h"
#include "support/dev_service.h"
#include "x_session.h"

namespace korvane::e2e {
namespace {

using korvane::testing::DevService;

constexpr const char* kAccount = "demo";
constexpr const char* kPassword = "Korvane-2026";

struct Shots {
    std::filesystem::path login;
    std::filesystem::path main;
    std::filesystem::path message;
    std::optional<std::uint32_t> signInButton;  // the blue fill of "登录", left of its caption
    std::optional<std::uint32_t> searchButton;  // the blue fill of "Serch", left of its caption
};

// Runs the client at `scale`: notice, login window, sign-in, main window, the search
// button's message window, sign-out. Window
// sizes and click positions are the forms' own, times `scale`.
Shots RunAtScale(VirtualDisplay& display, int scale) {
    const std::filesystem::path dir =
        std::filesystem::path(KORVANE_SCREENSHOT_DIR) / ("scale" + std::to_string(scale));
    Shots shots{
        dir / "login_window.png", dir / "main_window.png", dir / "message_window.png", {}, {}};
    const RuntimeFolder runtime;
    auto environment = ClientEnvironment(display, runtime.Path());
    environment["QT_SCALE_FACTOR"] = std::to_string(scale);
    ChildProcess client({KORVANE_CLIENT_BINARY}, environment);
    EXPECT_TRUE(CloseSystemMessageBox(display)) << "scale " << scale;

    const std::optional<XWindow> login =
        WaitForWindow(display, client.Pid(), 760 * scale, 470 * scale);
    if (!login) {
        ADD_FAILURE() << "no login window of " << 760 * scale << " x " << 470 * scale;
        return shots;
    }
    display.Click(login->x + (453 + 120) * scale, login->y + (185 + 17) * scale);
    display.Type(kAccount);
    display.Key("Tab");
    display.Type(kPassword);
    // The pointer would show in the picture.
    display.Run({"/usr/bin/xdotool", "mousemove", "0", "0"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(display.Screenshot(shots.login, login));
    shots.signInButton =
        display.Pixel(login->x + (490 + 10) * scale, login->y + (297 + 17) * scale);
    display.Key("Return");

    const std::optional<XWindow> main =
        WaitForWindow(display, client.Pid(), 1100 * scale, 800 * scale);
    if (!main) {
        ADD_FAILURE() << "no main window of " << 1100 * scale << " x " << 800 * scale;
        return shots;
    }
    // The clock shows the time one second after the window opened.
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    EXPECT_TRUE(display.Screenshot(shots.main, main));
    shots.searchButton = display.Pixel(main->x + (904 + 8) * scale, main->y + (79 + 20) * scale);

    display.Click(main->x + (904 + 52) * scale, main->y + (79 + 20) * scale);
    const std::optional<XWindow> message =
        WaitForWindow(display, client.Pid(), 389 * scale, 215 * scale);
    if (!message) {
        ADD_FAILURE() << "no message window of " << 389 * scale << " x " << 215 * scale;
        return shots;
    }
    display.Run({"/usr/bin/xdotool", "mousemove", "0", "0"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(display.Screenshot(shots.message, message));
    display.Focus(*message);
    display.Key("Return");
    EXPECT_TRUE(Gone(display, client.Pid(), 389 * scale, 215 * scale));

    display.Click(main->x + (56 + 11) * scale, main->y + (704 + 11) * scale);
    EXPECT_EQ(client.WaitForExit(std::chrono::seconds(20)), std::optional<int>(0));
    return shots;
}

// Mean difference of two pictures of the same size, 0 (same) to 1, after `doubled` has been
// brought down to half its size.
double DifferenceAtHalf(VirtualDisplay& display, const std::filesystem::path& doubled,
                        const std::filesystem::path& plain) {
    const std::string text =
        display.Run({"/usr/bin/convert", "(", doubled.string(), "-filter", "box", "-resize", "50%",
                     ")", plain.string(), "-compose", "difference", "-composite", "-colorspace",
                     "gray", "-format", "%[fx:mean]", "info:"});
    char* end = nullptr;
    const double mean = std::strtod(text.c_str(), &end);
    return end != text.c_str() ? mean : 1.0;
}

bool CloseTo(std::optional<std::uint32_t> rgb, std::uint32_t want) {
    if (!rgb) {
        return false;
    }
    for (int shift : {0, 8, 16}) {
        const int got = static_cast<int>((*rgb >> shift) & 0xFF);
        const int expected = static_cast<int>((want >> shift) & 0xFF);
        if (std::abs(got - expected) > 12) {
            return false;
        }
    }
    return true;
}

TEST(HighDensityEndToEnd, WindowsAtScaleTwoKeepTheirLayoutAtTwiceTheSize) {
    DevService::Options options;
    options.fixedPorts = true;
    DevService service(options);
    ASSERT_TRUE(service.Ok()) << service.Log();
    service.CreateAccount(kAccount, kPassword);
    VirtualDisplay display(2400, 1800);
    ASSERT_TRUE(display.Ok());

    const Shots plain = RunAtScale(display, 1);
    const Shots doubled = RunAtScale(display, 2);

    for (const Shots* shots : {&plain, &doubled}) {
        EXPECT_TRUE(CloseTo(shots->signInButton, 0x1D9BFB)) << shots->login;
        EXPECT_TRUE(CloseTo(shots->searchButton, 0x1D9BFB)) << shots->main;
    }
    // Same picture at twice the pixels: brought down to 1x it differs from the 1x capture
    // only by antialiasing and glyph shapes, not by anything moved, clipped or missing.
    for (const auto& [twice, once] :
         {std::pair{doubled.login, plain.login}, std::pair{doubled.main, plain.main},
          std::pair{doubled.message, plain.message}}) {
        const double difference = DifferenceAtHalf(display, twice, once);
        std::printf("%s: mean difference from 1x %.4f\n", twice.filename().c_str(), difference);
        EXPECT_LT(difference, 0.01) << twice;
    }
}

}  // namespace
}  // namespace korvane::e2e
