// Reads a program folder's settings the way the monitor does and prints what it found,
// one "name=value" a line, or the run-time error: for tests that feed the real binary a
// settings file and want to know what the program made of it.
#include "core/Files.h"
#include "core/NumberFormat.h"
#include "core/ReminderState.h"
#include "core/RuntimeError.h"
#include "linux/posix/PosixFileSystem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc != 2) {
        out << "usage: settings_probe FOLDER\n";
        return 2;
    }
    ReminderState state;
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/data.ini");
    state.IniPath = path.toStdU16String();
    if (!QFileInfo(path).isFile()) {
        out << "missing=ini\n";
        return 0;
    }
    try {
        PosixFileSystem fileSystem;
        Files files(fileSystem);
        const QLocale locale = QLocale::system();
        state.LoadSettings(files, NumberFormat{locale.decimalPoint().toStdU16String(),
                                               locale.groupSeparator().toStdU16String()});
    } catch (const RuntimeError& error) {
        out << "error=" << error.number() << "\n";
        return 0;
    }
    out << "text1=" << QString::fromStdU16String(state.MessageText1)
        << "\ntext2=" << QString::fromStdU16String(state.MessageText2)
        << "\nflag=" << state.HideDesktop << "\ninterval=" << QString::number(state.IntervalMinutes)
        << "\n";
    return 0;
}
