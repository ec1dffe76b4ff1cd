#include "app/Program.h"
#include "linux/LinuxFiles.h"
#include "linux/QtPlatform.h"
#include "linux/TerminationSignals.h"
#include "ui/FormWindow.h"

#include <QApplication>

int main(int, char* argv[]) {
    TerminationSignals::catchThem(); // before Qt starts threads of its own
    QtPlatform::chooseWindowSystem();
    // The program takes no command line: Qt's own options (-reverse, -platform, ...) are
    // not passed on either.
    int onlyTheName = 1;
    QApplication app(onlyTheName, argv);
    TerminationSignals::actOnThemFromEventLoop();
    QApplication::setApplicationName(QStringLiteral("Vestrel"));
    QApplication::setWindowIcon(FormWindow::applicationIcon());
    // The program ends through its own buttons, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    if (!platform.claimProgramFolder()) {
        platform.messageBox(u"Vestrel už běží. Druhá kopie programu se ukončí.",
                            MessageBoxStyle::OkInformation, u"Vestrel");
        return 0;
    }
    LinuxFiles files;
    Program program(platform, files);
    program.start();
    return QApplication::exec();
}
