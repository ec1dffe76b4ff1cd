#pragma once

#include "core/NumberFormat.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What the reminder asks of the system it runs on: the chime, the browser, the program
// folder, the file system's existence test, the user's locale, the clocks and what the
// session says about the user. Each platform implements it; tests pass a recording fake.
class System {
  public:
    virtual ~System() = default;

    // Starts playing a wave file and returns at once. Whatever keeps it from playing comes to
    // `failed` as a Czech sentence, then or later from the event loop.
    virtual void playSound(std::u16string_view path,
                           std::function<void(std::u16string_view reason)> failed) = 0;
    // Opens a web page in the desktop's browser.
    virtual void openUrl(std::u16string_view url) = 0;
    // The folder of the executable, without a trailing separator (except at the root).
    virtual std::u16string programFolder() = 0;
    // Takes the program folder for this run of the program. False when another Vestrel of
    // the same user's session runs from it: two counters must not share one settings file.
    virtual bool claimProgramFolder() = 0;
    // True when the path names an existing ordinary, non-hidden file.
    virtual bool fileExists(std::u16string_view path) = 0;
    // The user's locale's separators, for reading and writing numbers.
    virtual NumberFormat numberFormat() = 0;

    // Microseconds since the machine started, the time it slept included.
    virtual std::int64_t clockMicroseconds() = 0;
    // Microseconds the machine has spent suspended or hibernated since it started.
    virtual std::int64_t sleptMicroseconds() = 0;
    // Whether the desktop says the session is locked (its screen saver active).
    virtual bool sessionLocked() = 0;
    // Whether the system says the user must not be interrupted now: a presentation, another
    // program full screen, the desktop's "do not disturb".
    virtual bool userBusy() = 0;
    // Microseconds since the user's last keyboard or mouse input, or -1 where the desktop
    // does not say.
    virtual std::int64_t idleMicroseconds() = 0;
    // From now on calls `changed` whenever the session is locked or unlocked.
    virtual void watchSession(std::function<void()> changed) = 0;
};
