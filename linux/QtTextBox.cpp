#include "linux/QtTextBox.h"

QtTextBox::QtTextBox(QWidget* window, std::u16string_view text) : QtControl(window) {
    QLineEdit::setText(qt(text));
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (Change)
            Change();
    });
}
