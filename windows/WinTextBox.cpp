#include "windows/WinTextBox.h"

#include "windows/WinText.h"

WinTextBox::WinTextBox(WinWindow& window, std::u16string_view text)
    : WinControl(window, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, text, WS_EX_CLIENTEDGE) {}

void WinTextBox::setText(std::u16string_view text) {
    if (text != this->text()) // the same text is no change
        SetWindowTextW(hwnd_, wide(text).c_str());
}

std::u16string WinTextBox::text() const {
    std::wstring text(std::size_t(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(hwnd_, text.data(), int(text.size()))));
    return ::text(text);
}

void WinTextBox::notified(int code) {
    if (code == EN_CHANGE)
        textWasChanged();
}
