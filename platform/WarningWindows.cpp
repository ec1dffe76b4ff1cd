#include "platform/WarningWindows.h"

#include "platform/XAtoms.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

// The name the running window manager gives itself (EWMH), or nothing.
QByteArray windowManagerName(xcb_connection_t* connection) {
    const auto atoms =
        internAtoms(connection, {"_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME", "UTF8_STRING"});
    const auto read = [connection](xcb_window_t window, xcb_atom_t name, xcb_atom_t type) {
        QByteArray value;
        const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 64);
        if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
            value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
            std::free(reply);
        }
        return value;
    };
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const QByteArray check = read(root, atoms[0], XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t))
        return {};
    xcb_window_t wm = 0;
    std::memcpy(&wm, check.constData(), sizeof wm);
    return read(wm, atoms[1], atoms[2]);
}

} // namespace

void WarningWindows::show(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const QByteArray manager = x11 ? windowManagerName(x11->connection()) : QByteArray();
    // IceWM gives the keyboard to every window that goes full screen. There a frameless
    // window that stays on top covers the screen instead, asked for its size once more after
    // the map request: IceWM first fits a new window between its task bars.
    const bool cover = manager.startsWith("IceWM") && (window.windowState() & Qt::WindowFullScreen);
    if (cover)
        window.setWindowState(window.windowState() & ~Qt::WindowFullScreen);
    window.show();
    const auto id = xcb_window_t(window.winId());
    if (cover) {
        const QRect screen = window.geometry();
        const uint32_t values[] = {uint32_t(screen.x()), uint32_t(screen.y()),
                                   uint32_t(screen.width()), uint32_t(screen.height())};
        xcb_configure_window(x11->connection(), id,
                             XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                                 XCB_CONFIG_WINDOW_HEIGHT,
                             values);
    }
    // Qt shows every tool window as a transient of the program's hidden leader window, which
    // tells most window managers to offer no minimise button. KWin alone reads it as a
    // transient whose main window is hidden and lets the user minimise it: there the window
    // stands alone. KWin may have read the mark already; it weighs the window's actions again
    // when its hints change, so they are written once more, as they are.
    if (manager == "KWin") {
        xcb_connection_t* connection = x11->connection();
        xcb_delete_property(connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
        const auto cookie =
            xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9);
        if (xcb_get_property_reply_t* hints = xcb_get_property_reply(connection, cookie, nullptr)) {
            if (hints->format == 32)
                xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS,
                                    XCB_ATOM_WM_HINTS, 32,
                                    uint32_t(xcb_get_property_value_length(hints) / 4),
                                    xcb_get_property_value(hints));
            std::free(hints);
        }
    }
}
