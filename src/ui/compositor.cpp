#include "ui/compositor.h"

#include <QGuiApplication>

#ifdef KORVANE_UI_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <memory>
#endif

namespace korvane::ui {

#ifdef KORVANE_UI_HAVE_XCB
namespace {

// A compositing manager owns the selection _NET_WM_CM_S<screen> (EWMH).
bool X11HasCompositor(xcb_connection_t* connection) {
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup == nullptr) {
        return false;
    }
    const char name[] = "_NET_WM_CM_S0";
    const auto cookie = xcb_intern_atom(connection, 0, sizeof(name) - 1, name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    if (!atom) {
        return false;
    }
    const auto ownerCookie = xcb_get_selection_owner(connection, atom->atom);
    const std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&std::free)> owner(
        xcb_get_selection_owner_reply(connection, ownerCookie, nullptr), &std::free);
    return owner && owner->owner != XCB_NONE;
}

}  // namespace
#endif

bool CompositorAvailable() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return true;
    }
#ifdef KORVANE_UI_HAVE_XCB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->connection() != nullptr) {
        return X11HasCompositor(x11->connection());
    }
#endif
    return false;
}

}  // namespace korvane::ui
