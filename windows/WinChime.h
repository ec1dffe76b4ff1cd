#pragma once

#include "chime/WaveFile.h"

#include <windows.h>

#include <mmsystem.h>

#include <functional>
#include <string>
#include <string_view>

// The warning's chime on Windows: the wave file read whole and checked by the same rules as on
// Linux, its format put to the system's sound devices, then played from memory by PlaySoundW,
// which returns at once (and, playing on its own, could no longer say that it cannot). Why it
// cannot be played goes to `report`, in Czech.
class WinChime {
  public:
    explicit WinChime(std::function<void(const std::u16string&)> report);
    ~WinChime();
    WinChime(const WinChime&) = delete;
    WinChime& operator=(const WinChime&) = delete;

    // Starts playing the file; a chime still playing stops.
    void play(std::u16string_view path);

  private:
    // Whether a sound device of the system takes the format of the file's format chunk.
    bool playable(const char* format, std::size_t size) const;

    std::function<void(const std::u16string&)> report_;
    WaveFile playing_; // PlaySoundW reads the sound from here while it plays
    // winmm's, loaded with the first warning.
    BOOL(WINAPI* playSound_)(LPCWSTR, HMODULE, DWORD);
    UINT(WINAPI* devices_)();
    decltype(waveOutOpen)* open_;
};
