#pragma once

// Whether the window the user works in (the window manager's _NET_ACTIVE_WINDOW) is another
// program's and fills a whole screen as a full-screen window (_NET_WM_STATE_FULLSCREEN): a
// slideshow, a shared screen, a film. On X11 and XWayland; false where the X server or its
// window manager cannot say, and for the program's own full-screen warning.
bool anotherProgramFullScreen();
