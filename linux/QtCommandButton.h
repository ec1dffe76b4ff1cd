#pragma once

#include "linux/QtControl.h"
#include "ui/CommandButton.h"

#include <QPushButton>

// A command button as a QPushButton. The window presses its default and cancel buttons.
class QtCommandButton final : public QtControl<CommandButton, QPushButton> {
  public:
    QtCommandButton(QWidget* window, std::u16string_view caption);

    std::u16string caption() const override { return ::text(QPushButton::text()); }
    void setDefault(bool isDefault) override;
    void setCancel(bool isCancel) override { cancel_ = isCancel; }

    bool isDefaultButton() const { return default_; } // pressed by Enter off the buttons
    bool isCancelButton() const { return cancel_; }   // pressed by Escape

  private:
    bool default_ = false;
    bool cancel_ = false;
};
