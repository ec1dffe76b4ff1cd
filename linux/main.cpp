#include "app/Program.h"
#include "linux/LinuxSystem.h"
#include "linux/QtRuntime.h"
#include "linux/QtWindow.h"
#include "linux/TerminationSignals.h"
#include "linux/posix/PosixFileSystem.h"

#include <QApplication>

int main(int, char* argv[]) {
    TerminationSignals::catchThem(); // before Qt starts threads of its own
    QtRuntime::chooseWindowSystem();
    // The program takes no command line: Qt's own options (-reverse, -platform, ...) are
    // not passed on either.
    int onlyTheName = 1;
    QApplication app(onlyTheName, argv);
    TerminationSignals::actOnThemFromEventLoop();
    QApplication::setApplicationName(QStringLiteral("Vestrel"));
    QApplication::setWindowIcon(QtWindow::applicationIcon());
    // The program ends through its own buttons, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    QtRuntime runtime;
    LinuxSystem system;
    PosixFileSystem fileSystem;
    return Program::run(runtime, system, fileSystem);
}
