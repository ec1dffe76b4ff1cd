#pragma once

#include "core/ProfileFile.h"

#include <cstdint>
#include <string>
#include <string_view>

class Files;
struct NumberFormat;

// The values the whole program shares for the whole run: where the settings file is,
// the two message texts, the warning interval and the full-screen flag.
class ReminderState {
  public:
    static constexpr std::int16_t True = -1;
    static constexpr std::int16_t False = 0;

    // Read buffers, in characters with the terminator.
    static constexpr int TextBufferSize = 100;
    static constexpr int IntervalBufferSize = 10;
    static constexpr int FlagBufferSize = 5;

    std::u16string IniPath;      // the program folder's data.ini
    std::u16string MessageText1; // the warning's text before the number of minutes
    std::u16string MessageText2; // and after it
    float IntervalMinutes = 0.0f;
    std::u16string IntervalText;      // the interval's read buffer, NULs after the value
    std::int16_t HideDesktop = False; // True: the full-screen warning
    std::u16string HideDesktopText;   // the flag's read buffer
    float BreakMinutes = 5.0f;        // time away that counts as a break; 0: none is looked for
    bool IdleIsAway = false;          // no input for the break length counts as time away
    bool HoldWhenBusy = true;         // a warning waits while the user must not be interrupted

    // A read buffer's text as a label shows it: up to its first NUL.
    static std::u16string UpToNul(std::u16string_view buffer);
    // One read of the settings file: the stored value or the default, cut to size - 1, up
    // to its first NUL.
    static std::u16string ReadSetting(const ProfileFile& file, std::u16string_view section,
                                      std::u16string_view key, std::u16string_view defaultValue,
                                      int size);
    // The reads: texts 1 and 2, the full-screen flag, the interval, then what counts as a
    // break. A value that is no number throws RuntimeError naming the file, section and key.
    // A file that cannot be read gives the defaults; why, in Czech, is returned.
    std::u16string LoadSettings(Files& files, const NumberFormat& format);
    // The four writes, in one replacement of the file: it holds all of them or none.
    // Returns why the file could not be written, or nothing.
    std::u16string SaveSettings(Files& files, int sliderValue) const;
};
