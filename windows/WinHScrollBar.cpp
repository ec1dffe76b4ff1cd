#include "windows/WinHScrollBar.h"

#include <algorithm>

WinHScrollBar::WinHScrollBar(WinWindow& window)
    : WinControl(window, L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, u"") {
    setRange(minimum_, maximum_);
}

void WinHScrollBar::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    SCROLLINFO info{sizeof info, SIF_RANGE, minimum_, maximum_, 0, 0, 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
    setValue(value_);
}

void WinHScrollBar::setSteps(int small, int large) {
    small_ = small;
    large_ = large;
}

void WinHScrollBar::setValue(int value) {
    value = std::clamp(value, minimum_, maximum_);
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, value, 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
    if (value == value_)
        return;
    value_ = value;
    if (Change)
        Change();
}

void WinHScrollBar::scrolled(int request, int) {
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    switch (request) {
    case SB_LINELEFT:
        return setValue(value_ - small_);
    case SB_LINERIGHT:
        return setValue(value_ + small_);
    case SB_PAGELEFT:
        return setValue(value_ - large_);
    case SB_PAGERIGHT:
        return setValue(value_ + large_);
    case SB_LEFT:
        return setValue(minimum_);
    case SB_RIGHT:
        return setValue(maximum_);
    case SB_THUMBTRACK: // every step of a drag
    case SB_THUMBPOSITION:
        GetScrollInfo(hwnd_, SB_CTL, &info);
        return setValue(info.nTrackPos);
    default:
        return;
    }
}
