#pragma once

#include <cstdint>

class System;

// Whether the user sits at the computer. Time away of at least the break length is a
// break: the machine asleep, the session locked, or (when asked for) no keyboard or mouse
// input. A user who presents (or whose screen another program fills) is at the computer, but
// busy: not to be interrupted. Asked at each tick and at each lock or unlock; nothing of its
// own runs between.
class Presence {
  public:
    // What changed since the last look.
    enum class Change {
        None,           // the user is here, as before
        Away,           // the user is away now: no warning until the return
        BackAfterBreak, // the user is back after a break: the count starts again
        BackSoon,       // back after less than a break: the count goes on
    };

    explicit Presence(System& system) : system_(system) {}

    // Starts afresh with the settings: a break length of 0 turns time away off; a user is
    // busy only when `holdWhenBusy`.
    void restart(float breakMinutes, bool idleIsAway, bool holdWhenBusy);
    Change look();
    // Whether the user was away at the last look.
    bool away() const { return awaySince_ >= 0; }
    // Whether the user is busy now: away or not, the system is asked afresh.
    bool busy();

  private:
    System& system_;
    std::int64_t breakLength_ = 0; // microseconds, 0 for none
    bool idleIsAway_ = false;
    bool holdWhenBusy_ = true;
    std::int64_t slept_ = 0;      // the system's sleep total at the last look
    std::int64_t awaySince_ = -1; // when the user went away, or -1
    bool sleptABreak_ = false;    // the machine slept a break during the present absence
};
