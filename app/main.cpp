#include "core/FormWindow.h"
#include "core/Program.h"
#include "platform/QtPlatform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QtPlatform::chooseWindowSystem();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vestrel"));
    QApplication::setWindowIcon(FormWindow::applicationIcon());
    // The program ends through its own buttons, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    if (!platform.claimProgramFolder()) {
        platform.messageBox(QStringLiteral("Vestrel už běží. Druhá kopie programu se ukončí."),
                            Platform::MbOkInformation, QStringLiteral("Vestrel"));
        return 0;
    }
    Program program(platform);
    program.start();
    return QApplication::exec();
}
