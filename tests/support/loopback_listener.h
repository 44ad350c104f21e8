#pragma once

#include <cstdint>

namespace korvane::testing {

// A listening TCP socket on 127.0.0.1 at a port the system picked.
struct LoopbackListener {
    int fd = -1;  // -1 when the socket could not be set up
    std::uint16_t port = 0;
};

LoopbackListener ListenOnLoopback(int backlog);

}  // namespace korvane::testing
