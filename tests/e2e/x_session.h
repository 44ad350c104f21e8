#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvane::e2e {

// One child process; killed and reaped on destruction if it still runs.
class ChildProcess {
  public:
    // `environment` replaces or adds variables of this process's environment.
    ChildProcess(const std::vector<std::string>& argv,
                 const std::map<std::string, std::string>& environment, int keepFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    bool Running();
    // The exit code once it ended by itself within `limit`; nothing if it did not (or died
    // by a signal).
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A window of the client on the virtual display: its X id and where its content lies.
struct XWindow {
    std::string id;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// A private X server (Xvfb) on a free display, and the tools that drive it.
class VirtualDisplay {
  public:
    VirtualDisplay(int width, int height);
    ~VirtualDisplay();

    bool Ok() const { return !display_.empty(); }
    const std::string& Display() const { return display_; }

    // Runs an X tool (xdotool, import, …) on this display; its standard output.
    std::string Run(const std::vector<std::string>& argv);

    // Windows of `pid`, or with exactly the name `name`, that are mapped now.
    std::vector<XWindow> WindowsOf(pid_t pid);
    std::vector<XWindow> WindowsNamed(const std::string& name);

    void Click(int x, int y);
    void Type(const std::string& text);
    void Key(const std::string& key);
    void Focus(const XWindow& window);
    // The part of the screen at `area` (the whole screen when empty) as a PNG file.
    bool Screenshot(const std::filesystem::path& file, const std::optional<XWindow>& area = {});
    // The colour of the screen at (x, y) as 0xRRGGBB; nothing when it could not be read.
    std::optional<std::uint32_t> Pixel(int x, int y);

  private:
    std::optional<XWindow> Geometry(const std::string& id);

    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

// Polls `ready` every 50 ms until it holds or `limit` has passed.
bool WaitUntil(const std::function<bool()>& ready,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

}  // namespace korvane::e2e
