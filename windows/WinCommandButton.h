#pragma once

#include "ui/CommandButton.h"
#include "windows/WinControl.h"

// A command button as a BUTTON control. Its window presses it for Enter and Escape, and marks
// it as the one Enter presses while it has the focus.
class WinCommandButton final : public WinControl<CommandButton> {
  public:
    WinCommandButton(WinWindow& window, std::u16string_view caption);

    std::u16string caption() const override { return caption_; }
    void setDefault(bool isDefault) override { window_.setDefaultButton(this, isDefault); }
    void setCancel(bool isCancel) override { window_.setCancelButton(this, isCancel); }

    void notified(int code) override;
    // Shown as the button Enter presses, or not.
    void markDefault(bool marked);

  private:
    std::u16string caption_;
};
