#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace korvane::bench {

// Sees from a second X client when a top-level window is first drawn. It maps top-level
// windows itself, as a window manager does, so a window is watched for damage (drawing) before
// it can be drawn; the first damage the server reports after the mapping is the program's
// first frame.
class FirstFrameWatch {
  public:
    using Clock = std::chrono::steady_clock;

    // Connects and takes over the mapping of top-level windows; nothing else may manage the
    // display meanwhile.
    explicit FirstFrameWatch(const std::string& display);
    ~FirstFrameWatch();
    FirstFrameWatch(const FirstFrameWatch&) = delete;
    FirstFrameWatch& operator=(const FirstFrameWatch&) = delete;

    bool Ok() const { return damageEvent_ != 0; }

    struct Frame {
        Clock::time_point mapped;
        Clock::time_point drawn;
    };

    // When a top-level window named `title` was mapped and when it took its first drawing;
    // nothing when that did not happen before `deadline`.
    std::optional<Frame> WaitForFirstFrame(std::string_view title, Clock::time_point deadline);

  private:
    struct Tracked {
        std::uint32_t damage = 0;
        std::uint16_t mapSequence = 0;
        Clock::time_point mapped;
    };

    // The frame, when the event is the first drawing of a window named `title`.
    std::optional<Frame> Handle(const xcb_generic_event_t& event, std::string_view title);
    void Map(xcb_window_t window);
    void Configure(const xcb_configure_request_event_t& request);
    std::string Title(xcb_window_t window);
    xcb_atom_t Atom(std::string_view name);

    struct Disconnect {
        void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
    };
    std::unique_ptr<xcb_connection_t, Disconnect> connection_;
    xcb_window_t root_ = 0;
    std::uint8_t damageEvent_ = 0;
    xcb_atom_t netWmName_ = 0;
    std::map<xcb_window_t, Tracked> windows_;
};

}  // namespace korvane::bench
