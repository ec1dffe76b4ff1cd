#pragma once

#include "ui/Control.h"
#include "ui/Event.h"

// A horizontal scroll bar over a range of whole numbers. Left, Up and Page Up move it
// towards the minimum, Right, Down and Page Down towards the maximum, Home and End to
// either end, as on any desktop.
class HScrollBar : public Control {
  public:
    using Control::Control;

    Event Change; // the value changed: at every step while the thumb is dragged, at a key,
                  // or set by the program

    // An empty range (a maximum below the minimum) is the minimum alone.
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // The step of an arrow (small) and of a click beside the thumb or a page key (large).
    void setSteps(int small, int large);
    // Takes the nearest value within the range.
    void setValue(int value);
    int value() const { return value_; }

    // What the user asked of it: a step or a page either way, an end, or a place the thumb
    // was dragged to.
    enum class Move { StepBack, StepOn, PageBack, PageOn, ToMinimum, ToMaximum, ToPlace };
    // The toolkit's report of a key or a click on it, or of the thumb dragged to `place`.
    void userMoved(Move move, int place = 0);

  protected:
    // Shows the range, the steps and the value, saying nothing of them.
    virtual void showRange(int minimum, int maximum) = 0;
    virtual void showSteps(int small, int large) = 0;
    virtual void showValue(int value) = 0;

  private:
    int minimum_ = 0;
    int maximum_ = 100;
    int small_ = 1;
    int large_ = 10;
    int value_ = 0;
};
