#pragma once

#include "ui/Timer.h"

#include <windows.h>

#include <cstdint>

// A timer of its window (SetTimer), set afresh at each tick for the next point of its grid:
// a tick that comes late does not delay the ones after it.
class WinTimer final : public Timer {
  public:
    WinTimer(Window& window, HWND hwnd, int id, int milliseconds);
    ~WinTimer() override;
    WinTimer(const WinTimer&) = delete;
    WinTimer& operator=(const WinTimer&) = delete;

    void setEnabled(bool enabled) override;
    bool isEnabled() const override { return enabled_; }
    int interval() const override { return interval_; }

    int id() const { return id_; }
    // WM_TIMER came for it.
    void elapsed();

  private:
    void arm();

    HWND window_;
    int id_;
    int interval_;
    bool enabled_ = false;
    std::uint64_t start_ = 0; // the grid's origin, GetTickCount64()
    std::uint64_t ticks_ = 0; // the grid points passed
};
