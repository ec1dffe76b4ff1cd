#include "linux/QtCommandButton.h"

#include "linux/QtWindow.h"

QtCommandButton::QtCommandButton(QtWindow& window, std::u16string_view caption)
    : QtControl(window, &window) {
    QPushButton::setText(qt(caption));
    setAutoDefault(true); // Enter, like Space, acts on the focused button
    connect(this, &QPushButton::clicked, this, [this] { userPressed(); });
}
