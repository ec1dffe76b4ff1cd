#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The warning's chime on Windows: the wave file read whole and checked by the same rules as on
// Linux, then played from memory by PlaySoundW, which returns at once. Why it cannot be
// played goes to `report`, in Czech.
class WinChime {
  public:
    explicit WinChime(std::function<void(const std::u16string&)> report);
    ~WinChime();
    WinChime(const WinChime&) = delete;
    WinChime& operator=(const WinChime&) = delete;

    // Starts playing the file; a chime still playing stops.
    void play(std::u16string_view path);

  private:
    // Reads the file's bytes. Returns why they cannot be had, or nothing.
    static std::string read(const std::wstring& name, const std::string& shown,
                            std::vector<char>& bytes);

    std::function<void(const std::u16string&)> report_;
    std::vector<char> playing_; // PlaySoundW reads the sound from here while it plays
    // winmm's, loaded with the first warning.
    BOOL(WINAPI* playSound_)(LPCWSTR, HMODULE, DWORD);
    UINT(WINAPI* devices_)();
};
