// Saves the settings over and over, alternating between two sets of values, until killed
// or COUNT saves are done, one save per turn of the event loop, with requests to end
// handled as the program handles them. Prints "ready" once the first save is on disk.
//   save_loop FILE [COUNT]
#include "core/Files.h"
#include "core/ReminderState.h"
#include "linux/TerminationSignals.h"
#include "linux/posix/PosixFileSystem.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    TerminationSignals::catchThem();
    QCoreApplication app(argc, argv);
    TerminationSignals::actOnThemFromEventLoop();
    if (argc != 2 && argc != 3)
        return 2;
    const long count = argc == 3 ? std::atol(argv[2]) : -1;
    ReminderState state;
    PosixFileSystem fileSystem;
    Files files(fileSystem);
    state.IniPath = QString::fromLocal8Bit(argv[1]).toStdU16String();
    long done = 0;
    QTimer saves;
    QObject::connect(&saves, &QTimer::timeout, [&] {
        const bool even = done % 2 == 0;
        state.MessageText1 = even ? u"Nové nastavení" : u"Staré";
        state.MessageText2 = even ? std::u16string(90, u'n') : u"s";
        state.HideDesktop = even ? ReminderState::True : ReminderState::False;
        if (!state.SaveSettings(files, even ? 45 : 60).empty())
            return QCoreApplication::exit(1);
        if (++done == 1) {
            std::puts("ready");
            std::fflush(stdout);
        }
        if (done == count)
            QCoreApplication::quit();
    });
    saves.start(0);
    return QCoreApplication::exec();
}
