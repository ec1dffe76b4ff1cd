#pragma once

#include "chime/WaveFile.h"

#include <windows.h>

#include <mmsystem.h>

#include <functional>
#include <string>
#include <string_view>

// The warning's chime on Windows: the wave file read whole and checked by the same rules as on
// Linux, its format put to the system's sound devices, then played from memory by PlaySoundW,
// which returns at once (and, playing on its own, could no longer say that it cannot).
class WinChime {
  public:
    WinChime();
    ~WinChime();
    WinChime(const WinChime&) = delete;
    WinChime& operator=(const WinChime&) = delete;

    // Starts playing the file; a chime still playing stops. Why it cannot be played goes to
    // `failed`, in Czech, before it returns.
    void play(std::u16string_view path,
              const std::function<void(std::u16string_view reason)>& failed);

  private:
    // Whether a sound device of the system takes the format of the file's format chunk.
    bool playable(const char* format, std::size_t size) const;

    WaveFile playing_; // PlaySoundW reads the sound from here while it plays
    // winmm's, loaded with the first warning.
    BOOL(WINAPI* playSound_)(LPCWSTR, HMODULE, DWORD);
    UINT(WINAPI* devices_)();
    decltype(waveOutOpen)* open_;
};
