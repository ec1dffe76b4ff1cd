#include "windows/WinTimer.h"

#include <algorithm>

WinTimer::WinTimer(Window& window, HWND hwnd, int id, int milliseconds)
    : Timer(window), window_(hwnd), id_(id), interval_(milliseconds) {
    setEnabled(true);
}

WinTimer::~WinTimer() {
    KillTimer(window_, UINT_PTR(id_));
}

void WinTimer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (!enabled) {
        KillTimer(window_, UINT_PTR(id_));
        return;
    }
    start_ = GetTickCount64();
    ticks_ = 0;
    arm();
}

void WinTimer::arm() {
    const std::uint64_t now = GetTickCount64();
    // Points of the grid that went by unheard (the machine slept) are not made up for.
    ticks_ = std::max(ticks_, (now - start_) / std::uint64_t(interval_));
    const std::uint64_t next = start_ + (ticks_ + 1) * std::uint64_t(interval_);
    SetTimer(window_, UINT_PTR(id_), UINT(next > now ? next - now : 1), nullptr);
}

void WinTimer::elapsed() {
    if (!enabled_)
        return;
    ++ticks_;
    arm();
    ticked();
}
