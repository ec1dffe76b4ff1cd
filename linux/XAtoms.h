#pragma once

#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>

// The X server's atoms for the names given, asked all at once in one round trip; NONE for a
// name the server could not give.
template <std::size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t* connection, const char* const (&names)[N]) {
    xcb_intern_atom_cookie_t asked[N];
    for (std::size_t i = 0; i < N; ++i)
        asked[i] = xcb_intern_atom(connection, 0, uint16_t(std::strlen(names[i])), names[i]);
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t i = 0; i < N; ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, asked[i], nullptr);
        atoms[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
    }
    return atoms;
}
