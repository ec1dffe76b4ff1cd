#pragma once

// Requests to end the program (logout, kill, Ctrl+C, a closed terminal) are taken between
// events, never in the middle of one: a save that runs when one arrives finishes first.
// The signals are caught, not blocked, so that programs started from here (the browser,
// the chime) get them as usual.
namespace TerminationSignals {

// From the start of main(), before any thread exists: each signal is only noted.
void catchThem();
// Once the application object exists: a noted signal ends the program, as the signal
// itself would have, when the event loop next gets to it.
void actOnThemFromEventLoop();

} // namespace TerminationSignals
