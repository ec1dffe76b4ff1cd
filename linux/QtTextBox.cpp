#include "linux/QtTextBox.h"

#include "linux/CzechMenus.h"
#include "linux/QtWindow.h"

QtTextBox::QtTextBox(QtWindow& window, std::u16string_view text) : QtControl(window, &window) {
    CzechMenus::install(); // its menu
    QLineEdit::setText(qt(text));
    connect(this, &QLineEdit::textChanged, this, [this] { textWasChanged(); });
}
