// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/x11_window_hints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace quillet::x11 {

namespace {

// The X connection and the widget's native window, or a null connection when there is none.
struct Target {
    xcb_connection_t* connection = nullptr;
    xcb_window_t window = 0;
};

Target targetOf(QWidget& widget) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !widget.testAttribute(Qt::WA_WState_Created) || !widget.windowHandle())
        return {};
    // The window handle knows the current native window: the platform makes a new one for a
    // window whose stacking hint changed, which the widget's own id does not follow.
    return {x11->connection(), static_cast<xcb_window_t>(widget.windowHandle()->winId())};
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

} // namespace

void markAsPalette(QWidget& window) {
    const Target target = targetOf(window);
    if (!target.connection)
        return;
    // The utility type follows for window managers that do not know toolbars.
    const std::array<xcb_atom_t, 2> types{atom(target.connection, "_NET_WM_WINDOW_TYPE_TOOLBAR"),
                                          atom(target.connection, "_NET_WM_WINDOW_TYPE_UTILITY")};
    xcb_change_property(target.connection, XCB_PROP_MODE_REPLACE, target.window,
                        atom(target.connection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(types.size()), types.data());
    xcb_flush(target.connection);
}

void setOwner(QWidget& window, const QWidget* owner) {
    const Target target = targetOf(window);
    if (!target.connection)
        return;
    if (owner && owner->windowHandle()) {
        const auto ownerWindow = static_cast<xcb_window_t>(owner->windowHandle()->winId());
        xcb_change_property(target.connection, XCB_PROP_MODE_REPLACE, target.window,
                            XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerWindow);
    } else {
        xcb_delete_property(target.connection, target.window, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(target.connection);
}

void clearTitle(QWidget& window) {
    const Target target = targetOf(window);
    if (!target.connection)
        return;
    xcb_change_property(target.connection, XCB_PROP_MODE_REPLACE, target.window,
                        atom(target.connection, "_NET_WM_NAME"),
                        atom(target.connection, "UTF8_STRING"), 8, 0, "");
    xcb_change_property(target.connection, XCB_PROP_MODE_REPLACE, target.window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, 0, "");
    xcb_flush(target.connection);
}

} // namespace quillet::x11
