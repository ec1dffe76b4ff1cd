#include "linux/WarningWindows.h"

#include "linux/WindowManager.h"
#include "linux/X11Connection.h"
#include "linux/XAtoms.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <cmath>
#include <cstdlib>

namespace {

// IceWM's layer above its task bar (its own hint, read when it maps a window).
constexpr uint32_t AboveTaskBarLayer = 10;

// Under IceWM a full-screen window would take the keyboard: a frameless window that stays
// on top, in the layer above the task bar, covers the screen instead.
void coverScreenOnIceWm(QWidget& window, xcb_connection_t* connection) {
    window.setWindowState(window.windowState() & ~Qt::WindowFullScreen);
    const xcb_atom_t layer = internAtoms(connection, {"_WIN_LAYER"})[0];
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), layer,
                        XCB_ATOM_CARDINAL, 32, 1, &AboveTaskBarLayer);
}

// IceWM first fits a new window between its task bars: the screen's size is asked once more,
// in the X server's pixels, right behind the map request.
void askForScreenOnIceWm(QWidget& window, xcb_connection_t* connection) {
    const qreal ratio = window.devicePixelRatioF();
    const QRect screen = window.geometry();
    const uint32_t values[] = {uint32_t(std::lround(screen.x() * ratio)),
                               uint32_t(std::lround(screen.y() * ratio)),
                               uint32_t(std::lround(screen.width() * ratio)),
                               uint32_t(std::lround(screen.height() * ratio))};
    xcb_configure_window(connection, xcb_window_t(window.winId()),
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
}

// Qt shows every tool window as a transient of another window: of its parent, or of the
// program's hidden leader window. Most window managers offer such a window no minimise
// button; KWin lets the user minimise a transient whose main window is not shown. There the
// window stands alone. KWin may have read the mark already; it weighs the window's actions
// again when its hints change, so these are written once more, as they are.
void standAloneOnKWin(QWidget& window, xcb_connection_t* connection) {
    const auto id = xcb_window_t(window.winId());
    xcb_delete_property(connection, id, XCB_ATOM_WM_TRANSIENT_FOR);
    const auto cookie =
        xcb_get_property(connection, 0, id, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 0, 9);
    if (xcb_get_property_reply_t* hints = xcb_get_property_reply(connection, cookie, nullptr)) {
        const int length = xcb_get_property_value_length(hints) / 4;
        if (hints->type == XCB_ATOM_WM_HINTS && hints->format == 32 && length > 0)
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_HINTS,
                                XCB_ATOM_WM_HINTS, 32, uint32_t(length),
                                xcb_get_property_value(hints));
        std::free(hints);
    }
}

} // namespace

void WarningWindows::show(QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return window.show(); // a Wayland compositor keeps its own rules
    const WindowManager manager(connection);
    const bool cover = manager.isIceWm() && (window.windowState() & Qt::WindowFullScreen);
    if (cover)
        coverScreenOnIceWm(window, connection);
    window.show();
    if (cover)
        askForScreenOnIceWm(window, connection);
    if (manager.isKWin())
        standAloneOnKWin(window, connection);
}
