#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "support/dev_service.h"
#include "x_session.h"

namespace korvane::e2e {

// The client window of `pid` whose content is `width` × `height` (a shadow band may surround
// it), once it is mapped.
std::optional<XWindow> WaitForWindow(VirtualDisplay& display, pid_t pid, int width, int height);

// Whether that window went away in time.
bool Gone(VirtualDisplay& display, pid_t pid, int width, int height);

// Waits for the system message box ("信息："), closes it with Return and waits until it went.
bool CloseSystemMessageBox(VirtualDisplay& display);

// How many account calls devservice received for `endpoint`.
std::size_t CountRequests(korvane::testing::DevService& service, std::string_view endpoint);

// The environment of a client on `display`: its own runtime folder and, in sanitizer builds,
// a leak check that skips what the system's D-Bus keeps and a race check that leaves Qt (not
// built with the sanitizer) alone.
std::map<std::string, std::string> ClientEnvironment(const VirtualDisplay& display,
                                                     const std::filesystem::path& runtime);

// A private runtime folder for one client run, removed afterwards.
class RuntimeFolder {
  public:
    RuntimeFolder();
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace korvane::e2e
