#pragma once

#include "ui/Line.h"
#include "windows/WinControl.h"

// A rule: a STATIC one pixel high, filled with its colour.
class WinLine final : public WinControl<Line> {
  public:
    WinLine(WinWindow& window, int left, int right, int y, Colour colour);

    bool showsText() const override { return false; }
    HBRUSH colours(HDC) override;
    void relayout() override;

  private:
    int left_;
    int right_;
    int y_;
    Colour colour_;
};
