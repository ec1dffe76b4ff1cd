// Saves the settings over and over, alternating between two sets of values, until killed
// or COUNT saves are done. Prints "ready" once the first save is on disk.
//   save_loop FILE [COUNT]
#include "core/ReminderState.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    const long count = argc == 3 ? std::atol(argv[2]) : -1;
    ReminderState state;
    state.IniPath = QString::fromLocal8Bit(argv[1]);
    for (long i = 0; i != count; ++i) {
        const bool even = i % 2 == 0;
        state.MessageText1 = even ? QStringLiteral("Nové nastavení") : QStringLiteral("Staré");
        state.MessageText2 = even ? QString(90, QLatin1Char('n')) : QStringLiteral("s");
        state.HideDesktop = even ? ReminderState::True : ReminderState::False;
        if (!state.SaveSettings(even ? 45 : 60).ok)
            return 1;
        if (i == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
    return 0;
}
