#pragma once

#include "linux/QtControl.h"
#include "ui/TextBox.h"

#include <QLineEdit>

// A text box as a QLineEdit.
class QtTextBox final : public QtControl<TextBox, QLineEdit> {
  public:
    QtTextBox(QtWindow& window, std::u16string_view text);

    void setText(std::u16string_view text) override { QLineEdit::setText(qt(text)); }
    std::u16string text() const override { return ::text(QLineEdit::text()); }
    void setMaxLength(int units) override { QLineEdit::setMaxLength(units); }
};
