#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

// A horizontal scroll bar over a range of whole numbers. Left, Up and Page Up move it
// towards the minimum, Right, Down and Page Down towards the maximum, Home and End to
// either end, as on any desktop.
class HScrollBar : public Control {
  public:
    Event Change; // the value changed: at every step while the thumb is dragged, at a key,
                  // or set by the program

    virtual void setRange(int minimum, int maximum) = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    // The step of an arrow (small) and of a click beside the thumb or a page key (large).
    virtual void setSteps(int small, int large) = 0;
    // Takes the nearest value within the range.
    virtual void setValue(int value) = 0;
    virtual int value() const = 0;
};
