#include "windows/WinCheckBox.h"

WinCheckBox::WinCheckBox(WinWindow& window, std::u16string_view caption)
    : WinControl(window, L"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP, caption) {}

void WinCheckBox::showChecked(bool checked) {
    SendMessageW(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool WinCheckBox::isChecked() const {
    return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WinCheckBox::notified(int code) {
    if (code == BN_CLICKED)
        userToggled();
}
