#include "first_frame.h"

#include <poll.h>
#include <xcb/damage.h>

#include <cstdlib>
#include <vector>

namespace korvane::bench {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Owned(T* reply) {
    return Reply<T>(reply, &std::free);
}

// Whether an event stamped `sequence` was made after our request `request` had been handled
// (X sequence numbers on events are the low 16 bits and wrap).
bool After(std::uint16_t sequence, std::uint16_t request) {
    const auto ahead = static_cast<std::uint16_t>(sequence - request);
    return ahead != 0 && ahead < 0x8000;
}

}  // namespace

FirstFrameWatch::FirstFrameWatch(const std::string& display) {
    int screenNumber = 0;
    connection_.reset(xcb_connect(display.c_str(), &screenNumber));
    xcb_connection_t* c = connection_.get();
    if (xcb_connection_has_error(c) != 0) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    if (screens.rem == 0) {
        return;
    }
    root_ = screens.data->root;

    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (damage == nullptr || damage->present == 0) {
        return;
    }
    // The extension must be told our version before it takes other requests.
    if (!Owned(xcb_damage_query_version_reply(
            c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
            nullptr))) {
        return;
    }
    netWmName_ = Atom("_NET_WM_NAME");

    // Fails when another client (a window manager) already redirects.
    const std::uint32_t mask =
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    if (Owned(xcb_request_check(
            c, xcb_change_window_attributes_checked(c, root_, XCB_CW_EVENT_MASK, &mask)))) {
        return;
    }
    damageEvent_ = damage->first_event + XCB_DAMAGE_NOTIFY;
}

FirstFrameWatch::~FirstFrameWatch() = default;

std::optional<FirstFrameWatch::Frame> FirstFrameWatch::WaitForFirstFrame(
    std::string_view title, Clock::time_point deadline) {
    if (!Ok()) {
        return std::nullopt;
    }
    xcb_connection_t* c = connection_.get();
    pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        // Replies fetched while handling may have queued more events: drain before waiting.
        while (auto event = Owned(xcb_poll_for_event(c))) {
            if (auto frame = Handle(*event, title)) {
                return frame;
            }
        }
        if (xcb_connection_has_error(c) != 0) {
            return std::nullopt;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        ::poll(&readable, 1, static_cast<int>(left.count()));
    }
}

std::optional<FirstFrameWatch::Frame> FirstFrameWatch::Handle(const xcb_generic_event_t& event,
                                                              std::string_view title) {
    xcb_connection_t* c = connection_.get();
    const std::uint8_t type = event.response_type & 0x7F;
    if (type == XCB_MAP_REQUEST) {
        Map(reinterpret_cast<const xcb_map_request_event_t&>(event).window);
    } else if (type == XCB_CONFIGURE_REQUEST) {
        Configure(reinterpret_cast<const xcb_configure_request_event_t&>(event));
    } else if (type == XCB_DESTROY_NOTIFY) {
        windows_.erase(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
    } else if (type == damageEvent_) {
        const Clock::time_point now = Clock::now();
        const auto& damaged = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
        const auto found = windows_.find(damaged.drawable);
        // Damage stamped with the map request itself is the server painting a background.
        if (found != windows_.end() && After(damaged.sequence, found->second.mapSequence) &&
            Title(damaged.drawable) == title) {
            return Frame{found->second.mapped, now};
        }
        // Re-arm: a level of NonEmpty reports again only once the damage was taken away.
        xcb_damage_subtract(c, damaged.damage, XCB_NONE, XCB_NONE);
        xcb_flush(c);
    }
    return std::nullopt;
}

void FirstFrameWatch::Map(xcb_window_t window) {
    xcb_connection_t* c = connection_.get();
    Tracked tracked;
    tracked.damage = xcb_generate_id(c);
    xcb_damage_create(c, tracked.damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    tracked.mapSequence = static_cast<std::uint16_t>(xcb_map_window(c, window).sequence);
    // One more request, so damage made after the mapping carries a later sequence number.
    xcb_discard_reply(c, xcb_get_input_focus(c).sequence);
    xcb_flush(c);
    tracked.mapped = Clock::now();
    windows_[window] = tracked;
}

void FirstFrameWatch::Configure(const xcb_configure_request_event_t& request) {
    // Granted as asked, in the protocol's order of the value mask's bits.
    const std::pair<std::uint16_t, std::uint32_t> fields[] = {
        {XCB_CONFIG_WINDOW_X, static_cast<std::uint32_t>(request.x)},
        {XCB_CONFIG_WINDOW_Y, static_cast<std::uint32_t>(request.y)},
        {XCB_CONFIG_WINDOW_WIDTH, request.width},
        {XCB_CONFIG_WINDOW_HEIGHT, request.height},
        {XCB_CONFIG_WINDOW_BORDER_WIDTH, request.border_width},
        {XCB_CONFIG_WINDOW_SIBLING, request.sibling},
        {XCB_CONFIG_WINDOW_STACK_MODE, request.stack_mode},
    };
    std::vector<std::uint32_t> values;
    for (const auto& [bit, value] : fields) {
        if ((request.value_mask & bit) != 0) {
            values.push_back(value);
        }
    }
    xcb_connection_t* c = connection_.get();
    xcb_configure_window(c, request.window, request.value_mask, values.data());
    xcb_flush(c);
}

std::string FirstFrameWatch::Title(xcb_window_t window) {
    xcb_connection_t* c = connection_.get();
    for (const xcb_atom_t property : {netWmName_, static_cast<xcb_atom_t>(XCB_ATOM_WM_NAME)}) {
        const auto reply = Owned(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
            nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) > 0) {
            return std::string(
                static_cast<const char*>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        }
    }
    return {};
}

xcb_atom_t FirstFrameWatch::Atom(std::string_view name) {
    xcb_connection_t* c = connection_.get();
    const auto reply = Owned(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

}  // namespace korvane::bench
