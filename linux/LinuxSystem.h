#pragma once

#include "core/System.h"

#include "linux/posix/ProgramFolder.h"

#include <QPointer>

#include <memory>

class Chime;
class SessionWatch;

// The system under Linux: the chime helper for the sound, the desktop's browser, the
// program folder and its lock, POSIX clocks, and what the session's services say.
class LinuxSystem final : public System {
  public:
    LinuxSystem();
    ~LinuxSystem() override;

    void playSound(std::u16string_view path,
                   std::function<void(std::u16string_view reason)> failed) override;
    void openUrl(std::u16string_view url) override;
    std::u16string programFolder() override;
    bool claimProgramFolder() override; // see ProgramFolder::claim
    bool fileExists(std::u16string_view path) override;
    NumberFormat numberFormat() override;
    std::int64_t clockMicroseconds() override;
    std::int64_t sleptMicroseconds() override;
    bool sessionLocked() override;
    bool userBusy() override;
    std::int64_t idleMicroseconds() override;
    void watchSession(std::function<void()> changed) override;

  private:
    std::function<void(std::u16string_view)> soundFailed_; // told why the latest chime failed
    // Made at the first warning. It outlives the warning windows, so closing a window does
    // not cut the sound off.
    std::unique_ptr<Chime> chime_;
    ProgramFolder folder_;
    QPointer<SessionWatch> session_; // what the desktop says of the session's lock
};
