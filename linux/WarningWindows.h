#pragma once

class QWidget;

// Showing the warning windows as each window manager lets them be shown: on top, full
// screen where their state says so, taking no keyboard, offering no minimise button.
namespace WarningWindows {

void show(QWidget& window);

} // namespace WarningWindows
