#pragma once

#include "core/System.h"
#include "windows/WinChime.h"

#include <windows.h>

#include <functional>
#include <memory>

class WinRuntime;

// The system under Windows: PlaySoundW for the chime, the shell for the browser, the program
// folder and its claim, the interrupt clocks, the session's lock or disconnection (both time
// away) and the last input.
class WinSystem final : public System {
  public:
    // Reports of a chime that failed are shown by `runtime`, whose hidden window also hears
    // of the session's lock.
    explicit WinSystem(WinRuntime& runtime);
    ~WinSystem() override;
    WinSystem(const WinSystem&) = delete;
    WinSystem& operator=(const WinSystem&) = delete;

    void playSound(std::u16string_view path,
                   std::function<void(std::u16string_view reason)> failed) override;
    void openUrl(std::u16string_view url) override;
    std::u16string programFolder() override;
    bool claimProgramFolder() override;
    bool fileExists(std::u16string_view path) override;
    NumberFormat numberFormat() override;
    std::int64_t clockMicroseconds() override;
    std::int64_t sleptMicroseconds() override;
    bool sessionLocked() override;
    bool userBusy() override;
    std::int64_t idleMicroseconds() override;
    void watchSession(std::function<void()> changed) override;

  private:
    WinRuntime& runtime_;
    std::unique_ptr<WinChime> chime_; // made at the first warning
    std::u16string folder_;           // found once, at the first call
    HANDLE claim_ = nullptr;          // held for the whole run; the system frees it at exit
    bool locked_ = false;             // the session is locked
    bool disconnected_ = false; // the session has no screen: a remote desktop closed, a switch
    bool watching_ = false;
};
