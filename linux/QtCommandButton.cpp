#include "linux/QtCommandButton.h"

QtCommandButton::QtCommandButton(QWidget* window, std::u16string_view caption) : QtControl(window) {
    QPushButton::setText(qt(caption));
    setAutoDefault(true); // Enter, like Space, acts on the focused button
    connect(this, &QPushButton::clicked, this, [this] {
        if (Click)
            Click();
    });
}

void QtCommandButton::setDefault(bool isDefault) {
    default_ = isDefault;
    QPushButton::setDefault(isDefault);
}
