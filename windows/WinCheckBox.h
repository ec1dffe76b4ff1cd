#pragma once

#include "ui/CheckBox.h"
#include "windows/WinControl.h"

// A check box as a BUTTON control whose caption wraps.
class WinCheckBox final : public WinControl<CheckBox> {
  public:
    WinCheckBox(WinWindow& window, std::u16string_view caption);

    bool isChecked() const override;

    void notified(int code) override;

  protected:
    void showChecked(bool checked) override;
};
