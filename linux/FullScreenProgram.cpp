#include "linux/FullScreenProgram.h"

#include "linux/X11Connection.h"
#include "linux/XAtoms.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace {

// An answer of the X server, freed when it goes.
template <typename Reply> using Answer = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> Answer<Reply> answer(Reply* reply) {
    return Answer<Reply>(reply, &std::free);
}

// A property of a window as 32-bit values of the type given; empty where it is missing or of
// another type or format.
Answer<xcb_get_property_reply_t> property(xcb_connection_t* x, xcb_window_t window, xcb_atom_t name,
                                          xcb_atom_t type) {
    auto reply = answer(
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, name, type, 0, 64), nullptr));
    if (reply && (reply->type != type || reply->format != 32))
        reply.reset();
    return reply;
}

// Whether the window's place on the root window holds a whole screen.
bool coversAScreen(xcb_connection_t* x, xcb_window_t window, xcb_window_t root) {
    const auto geometry = answer(xcb_get_geometry_reply(x, xcb_get_geometry(x, window), nullptr));
    const auto origin = answer(xcb_translate_coordinates_reply(
        x, xcb_translate_coordinates(x, window, root, 0, 0), nullptr));
    if (!geometry || !origin)
        return false;
    const QRect place(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    for (QScreen* screen : QGuiApplication::screens()) {
        const qreal ratio = screen->devicePixelRatio();
        const QRect g = screen->geometry();
        const QRect pixels(qRound(g.x() * ratio), qRound(g.y() * ratio), qRound(g.width() * ratio),
                           qRound(g.height() * ratio));
        if (place.contains(pixels))
            return true;
    }
    return false;
}

} // namespace

bool anotherProgramFullScreen() {
    xcb_connection_t* x = x11Connection();
    if (!x)
        return false;
    static const auto atoms =
        internAtoms(x, {"_NET_ACTIVE_WINDOW", "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN"});
    const auto [activeAtom, stateAtom, fullScreenAtom] = atoms;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const auto active = property(x, root, activeAtom, XCB_ATOM_WINDOW);
    if (!active || xcb_get_property_value_length(active.get()) < 4)
        return false;
    const xcb_window_t window = *static_cast<xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE)
        return false;
    for (QWidget* ours : QApplication::topLevelWidgets())
        if (ours->internalWinId() == window)
            return false;
    const auto state = property(x, window, stateAtom, XCB_ATOM_ATOM);
    if (!state)
        return false;
    const auto* values = static_cast<xcb_atom_t*>(xcb_get_property_value(state.get()));
    const int count = xcb_get_property_value_length(state.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (values[i] == fullScreenAtom)
            return coversAScreen(x, window, root);
    return false;
}
