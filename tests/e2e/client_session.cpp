#include "client_session.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

namespace korvane::e2e {

namespace {

using korvane::testing::JsonValue;

// A window whose content is width × height inside an even shadow band of at most 40 px.
std::optional<XWindow> Content(const XWindow& window, int width, int height) {
    const int marginX = window.width - width;
    const int marginY = window.height - height;
    if (marginX < 0 || marginX != marginY || marginX % 2 != 0 || marginX > 80) {
        return std::nullopt;
    }
    XWindow content = window;
    content.x += marginX / 2;
    content.y += marginY / 2;
    content.width = width;
    content.height = height;
    return content;
}

// The value of the environment variable `name` with `option` added.
std::string WithOption(const char* name, const std::string& option) {
    const char* given = std::getenv(name);
    return given != nullptr && *given != '\0' ? std::string(given) + ":" + option : option;
}

}  // namespace

std::optional<XWindow> WaitForWindow(VirtualDisplay& display, pid_t pid, int width, int height) {
    std::optional<XWindow> found;
    WaitUntil([&] {
        for (const XWindow& window : display.WindowsOf(pid)) {
            if ((found = Content(window, width, height))) {
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
            if (Content(window, width, height)) {
                return false;
            }
        }
        return true;
    });
}

bool CloseSystemMessageBox(VirtualDisplay& display) {
    std::vector<XWindow> boxes;
    if (!WaitUntil([&] { return !(boxes = display.WindowsNamed("信息：")).empty(); })) {
        return false;
    }
    display.Focus(boxes[0]);
    display.Key("Return");
    return WaitUntil([&] { return display.WindowsNamed("信息：").empty(); });
}

std::size_t CountRequests(korvane::testing::DevService& service, std::string_view endpoint) {
    std::size_t count = 0;
    const JsonValue log = service.GetJson("/admin/requests");
    for (const JsonValue& request : log["requests"].Items()) {
        count += request["endpoint"].String() == endpoint ? 1 : 0;
    }
    return count;
}

std::map<std::string, std::string> ClientEnvironment(const VirtualDisplay& display,
                                                     const std::filesystem::path& runtime) {
    return {{"DISPLAY", display.Display()},
            {"QT_QPA_PLATFORM", "xcb"},
            {"XDG_RUNTIME_DIR", runtime.string()},
            {"LSAN_OPTIONS", WithOption("LSAN_OPTIONS", "suppressions=" KORVANE_LSAN_SUPPRESSIONS)},
            {"TSAN_OPTIONS", WithOption("TSAN_OPTIONS", "ignore_noninstrumented_modules=1")}};
}

RuntimeFolder::RuntimeFolder()
    : path_(std::filesystem::temp_directory_path() /
            ("korvane-e2e-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
}

RuntimeFolder::~RuntimeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace korvane::e2e
