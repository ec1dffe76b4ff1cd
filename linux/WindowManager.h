#pragma once

#include <QByteArray>

#include <xcb/xcb.h>

// The few things in which X11 window managers differ for Vestrel's windows, told by the name
// the running window manager gives itself (EWMH). Asked anew for each window shown: a window
// manager may be replaced while Vestrel runs.
class WindowManager {
  public:
    explicit WindowManager(xcb_connection_t* connection);

    // IceWM: activates every window that goes full screen, keeps its task bar above windows
    // that merely stay on top, and its switcher offers windows that take no keyboard.
    bool isIceWm() const { return name_.startsWith("IceWM"); }
    // KWin: lets the user minimise a transient whose main window is not shown.
    bool isKWin() const { return name_ == "KWin"; }

  private:
    QByteArray name_;
};
