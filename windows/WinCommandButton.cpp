#include "windows/WinCommandButton.h"

WinCommandButton::WinCommandButton(WinWindow& window, std::u16string_view caption)
    : WinControl(window, L"BUTTON", BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP, caption),
      caption_(caption) {}

void WinCommandButton::notified(int code) {
    if (code == BN_CLICKED)
        userPressed();
    if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
        window_.focusMoved();
}

void WinCommandButton::markAsDefault(bool marked) {
    SendMessageW(hwnd_, BM_SETSTYLE,
                 marked ? BS_DEFPUSHBUTTON | BS_NOTIFY : BS_PUSHBUTTON | BS_NOTIFY, TRUE);
}
