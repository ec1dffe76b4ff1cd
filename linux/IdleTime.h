#pragma once

#include <QtGlobal>

// How long the user has not touched the keyboard or the mouse, from the first source that
// can see all of their input: GNOME's idle monitor, KDE's screen saver service, the X
// server's screen-saver extension. Asked at a tick, never between.
class IdleTime {
  public:
    // Microseconds since the last input, or -1 where no source can tell.
    static qint64 microseconds();
};
