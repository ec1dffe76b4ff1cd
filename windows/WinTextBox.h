#pragma once

#include "ui/TextBox.h"
#include "windows/WinControl.h"

// A text box as a one-line EDIT control.
class WinTextBox final : public WinControl<TextBox> {
  public:
    WinTextBox(WinWindow& window, std::u16string_view text);

    void setText(std::u16string_view text) override;
    std::u16string text() const override;
    void setMaxLength(int units) override {
        SendMessageW(hwnd_, EM_SETLIMITTEXT, WPARAM(units), 0);
    }

    void notified(int code) override;
};
