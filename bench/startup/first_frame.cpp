#include "first_frame.h"

#include <poll.h>
#include <xcb/damage.h>

#include <cstdlib>

namespace korvane::bench {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> Owned(T* reply) {
    return Reply<T>(reply, &std::free);
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

    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root_, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the selection holds before any program is started.
    if (!Owned(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr))) {
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
    const Clock::time_point now = Clock::now();
    xcb_connection_t* c = connection_.get();
    const std::uint8_t type = event.response_type & 0x7F;
    if (type == XCB_CREATE_NOTIFY) {
        const auto& created = reinterpret_cast<const xcb_create_notify_event_t&>(event);
        if (created.parent == root_) {
            Tracked tracked;
            tracked.damage = xcb_generate_id(c);
            xcb_damage_create(c, tracked.damage, created.window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
            windows_[created.window] = tracked;
        }
    } else if (type == XCB_MAP_NOTIFY) {
        const auto& mapped = reinterpret_cast<const xcb_map_notify_event_t&>(event);
        if (auto found = windows_.find(mapped.window); found != windows_.end()) {
            found->second.mapped = now;
        }
    } else if (type == XCB_DESTROY_NOTIFY) {
        windows_.erase(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
    } else if (type == damageEvent_) {
        const auto& damaged = reinterpret_cast<const xcb_damage_notify_event_t&>(event);
        const auto found = windows_.find(damaged.drawable);
        if (found != windows_.end() && found->second.mapped && Title(damaged.drawable) == title) {
            return Frame{*found->second.mapped, now};
        }
        // Re-arm: a level of NonEmpty reports again only once the damage was taken away.
        xcb_damage_subtract(c, damaged.damage, XCB_NONE, XCB_NONE);
        xcb_flush(c);
    }
    return std::nullopt;
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
