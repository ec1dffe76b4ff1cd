#include "windows/WinLine.h"

#include "windows/WinConvert.h"
#include "windows/WinRuntime.h"

WinLine::WinLine(WinWindow& window, int left, int right, int y, Colour colour)
    : WinControl(window, L"STATIC", SS_LEFT, u""), left_(left), right_(right), y_(y),
      colour_(colour) {
    relayout();
}

HBRUSH WinLine::colours(HDC) {
    return colour_ == Colour::WindowText ? GetSysColorBrush(COLOR_WINDOWTEXT)
                                         : window_.runtime().gdi().brush(colour_);
}

void WinLine::relayout() {
    // From the pixel of its left end to that of its right end, one pixel high.
    const unsigned dpi = window_.dpi();
    const int left = WinConvert::pixels(left_, dpi);
    box_ = {left_, y_, right_ - left_, Twips::PerPixel};
    SetWindowPos(hwnd_, nullptr, left, WinConvert::pixels(y_, dpi),
                 WinConvert::pixels(right_, dpi) - left, 1, SWP_NOZORDER | SWP_NOACTIVATE);
}
