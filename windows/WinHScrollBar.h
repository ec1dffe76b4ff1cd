#pragma once

#include "ui/HScrollBar.h"
#include "windows/WinControl.h"

// A horizontal SCROLLBAR control. The control turns the keys into the requests its window
// passes on (arrows a small step, Page Up and Down a large one, Home and End to the ends).
class WinHScrollBar final : public WinControl<HScrollBar> {
  public:
    explicit WinHScrollBar(WinWindow& window);

    void setRange(int minimum, int maximum) override;
    int minimum() const override { return minimum_; }
    int maximum() const override { return maximum_; }
    void setSteps(int small, int large) override;
    void setValue(int value) override;
    int value() const override { return value_; }

    void scrolled(int request, int) override;

  private:
    int minimum_ = 0;
    int maximum_ = 100;
    int small_ = 1;
    int large_ = 10;
    int value_ = 0;
};
