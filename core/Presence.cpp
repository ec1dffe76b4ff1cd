#include "core/Presence.h"

#include "core/System.h"

#include <algorithm>
#include <cmath>

void Presence::restart(float breakMinutes, bool idleIsAway, bool holdWhenBusy) {
    const double length = double(breakMinutes) * 60e6;
    breakLength_ = std::isfinite(length) && length > 0 ? std::int64_t(std::min(length, 1e18)) : 0;
    idleIsAway_ = idleIsAway;
    holdWhenBusy_ = holdWhenBusy;
    awaySince_ = -1;
    sleptABreak_ = false;
    if (breakLength_ > 0)
        slept_ = system_.sleptMicroseconds();
}

Presence::Change Presence::look() {
    if (breakLength_ == 0)
        return Change::None;
    const std::int64_t now = system_.clockMicroseconds();
    const std::int64_t slept = system_.sleptMicroseconds();
    const bool sleptABreak = slept - slept_ >= breakLength_;
    slept_ = slept;

    std::int64_t since = -1; // when the present absence began, if there is one
    if (system_.sessionLocked())
        since = awaySince_ >= 0 ? awaySince_ : now;
    if (idleIsAway_) {
        const std::int64_t idle = system_.idleMicroseconds();
        if (idle >= breakLength_ && (since < 0 || now - idle < since))
            since = now - idle;
    }
    if (since >= 0) {
        const bool wentAway = awaySince_ < 0;
        awaySince_ = since;
        // A lock heard only on waking began with the sleep: the sleep's break still counts.
        sleptABreak_ = sleptABreak_ || sleptABreak;
        return wentAway ? Change::Away : Change::None;
    }
    if (awaySince_ >= 0) {
        const bool aBreak = now - awaySince_ >= breakLength_ || sleptABreak || sleptABreak_;
        awaySince_ = -1;
        sleptABreak_ = false;
        return aBreak ? Change::BackAfterBreak : Change::BackSoon;
    }
    return sleptABreak ? Change::BackAfterBreak : Change::None;
}

bool Presence::busy() {
    return holdWhenBusy_ && system_.userBusy();
}
