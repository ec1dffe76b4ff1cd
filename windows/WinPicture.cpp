#include "windows/WinPicture.h"

#include "windows/Resources.h"
#include "windows/WinConvert.h"

WinPicture::WinPicture(WinWindow& window, int left, int top)
    : WinControl(window, L"STATIC", SS_ICON | SS_REALSIZECONTROL, u"") {
    place({left, top, SizeTwips, SizeTwips});
    relayout();
}

WinPicture::~WinPicture() {
    DestroyIcon(icon_);
}

void WinPicture::relayout() {
    WinChild::relayout();
    const int size = WinConvert::pixels(SizeTwips, window_.dpi());
    HICON icon =
        static_cast<HICON>(LoadImageW(window_.instance(), MAKEINTRESOURCEW(Resources::WarningIcon),
                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    SendMessageW(hwnd_, STM_SETICON, WPARAM(icon), 0);
    if (icon_)
        DestroyIcon(icon_);
    icon_ = icon;
}
