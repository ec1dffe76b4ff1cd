#pragma once

#include "core/System.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A system that records what the program asks of it and answers from the test's script.
class FakeSystem final : public System {
  public:
    std::vector<std::u16string> sounds;
    std::function<void(std::u16string_view)> soundFailed; // the latest chime's, to fail it
    std::vector<std::u16string> urls;
    std::int64_t clock = 0; // microseconds, sleep included
    std::int64_t slept = 0; // of which asleep
    bool locked = false;
    bool busy = false;      // presenting, another program full screen
    std::int64_t idle = -1; // since the last input; -1: not told
    std::function<void()> sessionChanged;
    std::u16string folder;
    bool alone = true; // no other Vestrel runs from the folder
    NumberFormat format{u".", u","};

    void playSound(std::u16string_view path,
                   std::function<void(std::u16string_view)> failed) override {
        sounds.emplace_back(path);
        soundFailed = std::move(failed);
    }
    void openUrl(std::u16string_view url) override { urls.emplace_back(url); }
    std::u16string programFolder() override { return folder; }
    bool claimProgramFolder() override { return alone; }
    bool fileExists(std::u16string_view path) override { // as the real one: no hidden file
        const std::filesystem::path file(path);
        return std::filesystem::is_regular_file(file) && file.filename().native()[0] != '.';
    }
    NumberFormat numberFormat() override { return format; }
    std::int64_t clockMicroseconds() override { return clock; }
    std::int64_t sleptMicroseconds() override { return slept; }
    bool sessionLocked() override { return locked; }
    bool userBusy() override { return busy; }
    std::int64_t idleMicroseconds() override { return idle; }
    void watchSession(std::function<void()> changed) override {
        sessionChanged = std::move(changed);
    }
};
