// Saves the settings over and over, alternating between two sets of values, until killed.
// Prints "ready" once the first save is on disk.
#include "core/ReminderState.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    ReminderState state;
    state.IniPath = QString::fromLocal8Bit(argv[1]);
    for (long i = 0;; ++i) {
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
}
