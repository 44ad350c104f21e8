#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <thread>

extern char** environ;

namespace korvane::e2e {

namespace {

std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            merged[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    for (const auto& [name, value] : changes) {
        merged[name] = value;
    }
    std::vector<std::string> out;
    for (const auto& [name, value] : merged) {
        out.push_back(name + "=" + value);
    }
    return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& environment, int keepFd) {
    std::vector<std::string> args = argv;
    std::vector<std::string> env = EnvironmentWith(environment);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    pid_ = ::fork();
    if (pid_ == 0) {
        // Only async-signal-safe calls from here on.
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, STDIN_FILENO);
        }
        if (keepFd >= 0) {
            ::fcntl(keepFd, F_SETFD, 0);
        }
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ <= 0 || status_) {
        return;
    }
    ::kill(pid_, SIGTERM);
    if (!WaitForExit(std::chrono::seconds(5)) && !status_) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
}

bool ChildProcess::Running() {
    if (pid_ <= 0 || status_) {
        return false;
    }
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = status;
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit) {
    WaitUntil([this] { return !Running(); }, limit);
    if (status_ && WIFEXITED(*status_)) {
        return WEXITSTATUS(*status_);
    }
    return std::nullopt;
}

VirtualDisplay::VirtualDisplay(int width, int height) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/bin/Xvfb", "-displayfd", std::to_string(ends[1]), "-screen",
                                 "0", screen, "-nolisten", "tcp", "-noreset"},
        std::map<std::string, std::string>{}, ends[1]);
    ::close(ends[1]);
    // Xvfb writes the display number once it accepts connections.
    std::string number;
    pollfd ready{ends[0], POLLIN, 0};
    while (::poll(&ready, 1, 20000) > 0) {
        char c = 0;
        if (::read(ends[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    ::close(ends[0]);
    if (!number.empty()) {
        display_ = ":" + number;
    }
}

VirtualDisplay::~VirtualDisplay() = default;

std::string VirtualDisplay::Run(const std::vector<std::string>& argv) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    std::vector<std::string> args = argv;
    std::vector<std::string> env = EnvironmentWith({{"DISPLAY", display_}});
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(ends[1], STDOUT_FILENO);
        ::execve(argp[0], argp.data(), envp.data());
        ::_exit(127);
    }
    ::close(ends[1]);
    std::string out;
    std::array<char, 4096> buffer{};
    pollfd readable{ends[0], POLLIN, 0};
    while (::poll(&readable, 1, 20000) > 0) {
        const ssize_t got = ::read(ends[0], buffer.data(), buffer.size());
        if (got <= 0) {
            break;
        }
        out.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return out;
}

std::optional<XWindow> VirtualDisplay::Geometry(const std::string& id) {
    const std::string shell = Run({"/usr/bin/xdotool", "getwindowgeometry", "--shell", id});
    XWindow window{id};
    bool mapped = false;
    std::istringstream lines(shell);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const int value = std::atoi(line.c_str() + equals + 1);
        if (key == "X") {
            window.x = value;
        } else if (key == "Y") {
            window.y = value;
        } else if (key == "WIDTH") {
            window.width = value;
            mapped = true;
        } else if (key == "HEIGHT") {
            window.height = value;
        }
    }
    if (!mapped) {
        return std::nullopt;
    }
    return window;
}

std::vector<XWindow> VirtualDisplay::WindowsOf(pid_t pid) {
    std::vector<XWindow> windows;
    std::istringstream ids(
        Run({"/usr/bin/xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid)}));
    for (std::string id; std::getline(ids, id);) {
        if (auto window = Geometry(id)) {
            windows.push_back(*window);
        }
    }
    return windows;
}

std::vector<XWindow> VirtualDisplay::WindowsNamed(const std::string& name) {
    std::vector<XWindow> windows;
    std::istringstream ids(
        Run({"/usr/bin/xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"}));
    for (std::string id; std::getline(ids, id);) {
        if (auto window = Geometry(id)) {
            windows.push_back(*window);
        }
    }
    return windows;
}

void VirtualDisplay::Click(int x, int y) {
    Run({"/usr/bin/xdotool", "mousemove", std::to_string(x), std::to_string(y)});
    // Let the pointer arrive (enter events, focus under the pointer) before the click.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Run({"/usr/bin/xdotool", "click", "1"});
}

void VirtualDisplay::Type(const std::string& text) {
    Run({"/usr/bin/xdotool", "type", "--delay", "40", text});
}

void VirtualDisplay::Key(const std::string& key) {
    Run({"/usr/bin/xdotool", "key", key});
}

void VirtualDisplay::Focus(const XWindow& window) {
    Run({"/usr/bin/xdotool", "windowfocus", window.id});
}

bool VirtualDisplay::Screenshot(const std::filesystem::path& file,
                                const std::optional<XWindow>& area) {
    std::filesystem::create_directories(file.parent_path());
    std::vector<std::string> argv = {"/usr/bin/import", "-window", "root"};
    if (area) {
        argv.push_back("-crop");
        argv.push_back(std::to_string(area->width) + "x" + std::to_string(area->height) + "+" +
                       std::to_string(area->x) + "+" + std::to_string(area->y));
        argv.push_back("+repage");
    }
    argv.push_back(file.string());
    Run(argv);
    return std::filesystem::exists(file);
}

bool WaitUntil(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (ready()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::optional<std::uint32_t> VirtualDisplay::Pixel(int x, int y) {
    // One line per pixel, e.g. "0,0: (29,155,251)  #1D9BFB  srgb(29,155,251)".
    const std::string text = Run({"/usr/bin/import", "-window", "root", "-crop",
                                  "1x1+" + std::to_string(x) + "+" + std::to_string(y), "+repage",
                                  "-depth", "8", "txt:-"});
    const std::size_t hash = text.find('#', text.find('\n'));
    if (hash == std::string::npos || hash + 7 > text.size()) {
        return std::nullopt;
    }
    const std::string digits = text.substr(hash + 1, 6);
    if (digits.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
}

}  // namespace korvane::e2e
