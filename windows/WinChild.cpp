#include "windows/WinChild.h"

#include "windows/WinConvert.h"
#include "windows/WinText.h"
#include "windows/WinWindow.h"

WinChild::WinChild(WinWindow& window, const wchar_t* className, DWORD style,
                   std::u16string_view text, DWORD extendedStyle)
    : window_(window), id_(window.nextControlId()) {
    hwnd_ = CreateWindowExW(extendedStyle, className, wide(text).c_str(),
                            WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window.hwnd(),
                            reinterpret_cast<HMENU>(INT_PTR(id_)), window.instance(), nullptr);
}

HFONT WinChild::font() const {
    return window_.font();
}

void WinChild::useFont() {
    fontInUse_ = true;
    SendMessageW(hwnd_, WM_SETFONT, WPARAM(font()), TRUE);
}

void WinChild::place(const TwipsRect& box) {
    box_ = box;
    const RECT r = WinConvert::pixels(box, window_.dpi());
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinChild::relayout() {
    if (fontInUse_)
        useFont();
    place(box_);
}
