#include "linux/WindowManager.h"

#include "linux/XAtoms.h"

#include <cstdlib>
#include <cstring>

namespace {

// A property's bytes, or nothing; a window that is gone is no error worth reporting.
QByteArray property(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t name,
                    xcb_atom_t type) {
    QByteArray value;
    xcb_generic_error_t* error = nullptr;
    const auto cookie = xcb_get_property(connection, 0, window, name, type, 0, 64);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, &error)) {
        value = QByteArray(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
        std::free(reply);
    }
    std::free(error);
    return value;
}

} // namespace

WindowManager::WindowManager(xcb_connection_t* connection) {
    const auto atoms =
        internAtoms(connection, {"_NET_SUPPORTING_WM_CHECK", "_NET_WM_NAME", "UTF8_STRING"});
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const QByteArray check = property(connection, root, atoms[0], XCB_ATOM_WINDOW);
    if (check.size() != sizeof(xcb_window_t))
        return;
    xcb_window_t window = 0;
    std::memcpy(&window, check.constData(), sizeof window);
    name_ = property(connection, window, atoms[1], atoms[2]);
}
