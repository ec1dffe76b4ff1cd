#pragma once

#include "ui/CommandButton.h"
#include "windows/WinControl.h"

// A command button as a BUTTON control: pressed by the mouse, Space, or the key its window's
// dialog manager passes on.
class WinCommandButton final : public WinControl<CommandButton> {
  public:
    WinCommandButton(WinWindow& window, std::u16string_view caption);

    std::u16string caption() const override { return caption_; }
    void markAsDefault(bool marked) override;

    void notified(int code) override;

  private:
    std::u16string caption_;
};
