#pragma once

#include <QGuiApplication>

#include <xcb/xcb.h>

// Qt's connection to the X server, or null where the windows are not X windows (Wayland,
// the offscreen platform).
inline xcb_connection_t* x11Connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
