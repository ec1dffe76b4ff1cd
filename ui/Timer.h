#pragma once

#include "ui/Event.h"

// A timer of its window that keeps to its grid: an hour of ten-second ticks is 360 ticks,
// not 360 ticks plus the slack of each.
class Timer {
  public:
    virtual ~Timer() = default;

    Event Tick; // an interval has passed

    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual int interval() const = 0; // in milliseconds
};
