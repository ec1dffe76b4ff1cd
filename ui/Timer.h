#pragma once

#include "ui/Event.h"

class Window;

// A timer of its window that keeps to its grid: an hour of ten-second ticks is 360 ticks,
// not 360 ticks plus the slack of each.
class Timer {
  public:
    explicit Timer(Window& window) : parent_(window) {}
    virtual ~Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    Event Tick; // an interval has passed

    // The toolkit's report: an interval has passed. Nothing of it reaches the form once the
    // window has been let go.
    void ticked() const;

    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual int interval() const = 0; // in milliseconds

  private:
    Window& parent_; // the window it ticks for
};
