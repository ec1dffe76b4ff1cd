#include "app/Program.h"
#include "core/Files.h"
#include "core/Messages.h"
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
    if (!system.claimProgramFolder()) {
        runtime.messageBox(Messages::AlreadyRunning, MessageBoxStyle::OkInformation, u"Vestrel");
        return 0;
    }
    PosixFileSystem fileSystem;
    Files files(fileSystem);
    Program program(runtime, system, files);
    program.start();
    return QApplication::exec();
}
