#include "core/FormWindow.h"
#include "core/Program.h"
#include "platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vestrel"));
    QApplication::setWindowIcon(FormWindow::applicationIcon());
    // The program ends through its own buttons, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    Program program(platform);
    program.start();
    return QApplication::exec();
}
