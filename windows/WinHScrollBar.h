#pragma once

#include "ui/HScrollBar.h"
#include "windows/WinControl.h"

// A horizontal SCROLLBAR control. The control turns the keys and clicks into the requests its
// window passes on (arrows a small step, Page Up and Down a large one, Home and End to the
// ends, the thumb dragged to a place).
class WinHScrollBar final : public WinControl<HScrollBar> {
  public:
    explicit WinHScrollBar(WinWindow& window);

    void scrolled(int request, int) override;

  protected:
    void showRange(int minimum, int maximum) override;
    void showSteps(int, int) override {}
    void showValue(int value) override;
};
