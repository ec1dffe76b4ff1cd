#pragma once

#include <QString>

#include <functional>

// Plays the warning sound. It lives in a module of its own, loaded at the first warning,
// so that the audio libraries cost nothing while the program only counts.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file and returns at once; `onError` is called, with the
    // reason in Czech, when the file cannot be played (at once, or later on the
    // user-interface thread).
    virtual void play(const QString& path, std::function<void(const QString&)> onError) = 0;
};

// The module's entry point, looked up by name.
using CreateSoundPlayer = SoundPlayer* (*)();
inline constexpr char CreateSoundPlayerSymbol[] = "vestrel_create_sound_player";
