#include "windows/WinHScrollBar.h"

WinHScrollBar::WinHScrollBar(WinWindow& window)
    : WinControl(window, L"SCROLLBAR", SBS_HORZ | WS_TABSTOP, u"") {
    showRange(minimum(), maximum());
}

void WinHScrollBar::showRange(int minimum, int maximum) {
    SCROLLINFO info{sizeof info, SIF_RANGE, minimum, maximum, 0, 0, 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void WinHScrollBar::showValue(int value) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, value, 0};
    SetScrollInfo(hwnd_, SB_CTL, &info, TRUE);
}

void WinHScrollBar::scrolled(int request, int) {
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    switch (request) {
    case SB_LINELEFT:
        return userMoved(Move::StepBack);
    case SB_LINERIGHT:
        return userMoved(Move::StepOn);
    case SB_PAGELEFT:
        return userMoved(Move::PageBack);
    case SB_PAGERIGHT:
        return userMoved(Move::PageOn);
    case SB_LEFT:
        return userMoved(Move::ToMinimum);
    case SB_RIGHT:
        return userMoved(Move::ToMaximum);
    case SB_THUMBTRACK: // every step of a drag
    case SB_THUMBPOSITION:
        GetScrollInfo(hwnd_, SB_CTL, &info);
        return userMoved(Move::ToPlace, info.nTrackPos);
    default:
        return;
    }
}
