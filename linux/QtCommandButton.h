#pragma once

#include "linux/QtControl.h"
#include "ui/CommandButton.h"

#include <QPushButton>

// A command button as a QPushButton; Enter and Space press it while it has the focus.
class QtCommandButton final : public QtControl<CommandButton, QPushButton> {
  public:
    QtCommandButton(QtWindow& window, std::u16string_view caption);

    std::u16string caption() const override { return ::text(QPushButton::text()); }
    void markAsDefault(bool marked) override { QPushButton::setDefault(marked); }
};
