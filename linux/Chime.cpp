#include "linux/Chime.h"

#include "chime/ChimeProtocol.h"
#include "linux/QtConvert.h"
#include "linux/posix/PosixPath.h"

#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <utility>

#include <sys/prctl.h>
#include <unistd.h>

namespace {

// A folder reached through one of our descriptors (/proc/self/fd/N) is reached by the
// helper through the same descriptor of ours.
QString forTheHelper(const QString& path) {
    static const QString self = QStringLiteral("/proc/self/");
    if (!path.startsWith(self))
        return path;
    return QStringLiteral("/proc/%1/").arg(::getpid()) + path.mid(self.size());
}

} // namespace

Chime::Chime(QString helper, std::function<void(const QString&)> report)
    : helper_(std::move(helper)), report_(std::move(report)) {}

Chime::~Chime() {
    delete current_; // ends a chime still playing
}

void Chime::play(const QString& path) {
    if (current_) {
        current_->kill(); // the new warning's chime replaces it; it deletes itself when ended
        current_ = nullptr;
    }
    started_ = reported_ = false;
    reason_.clear();
    output_.clear();
    received_ = 0;
    passed_ = forTheHelper(path);
    shown_ = qt(PosixPath::shown(text(path)));

    auto* helper = new QProcess;
    current_ = helper;
    helper->setProgram(forTheHelper(helper_));
    helper->setArguments({passed_});
    helper->setStandardInputFile(QProcess::nullDevice());
    helper->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The helper ends with the program, however the program ends (_Exit, a signal, a crash).
    const pid_t parent = ::getpid();
    helper->setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1); // the program ended before the line above took effect
    });
    QObject::connect(helper, &QProcess::readyReadStandardOutput, helper, [this, helper] {
        if (helper == current_)
            readOutput();
    });
    QObject::connect(helper, &QProcess::finished, helper,
                     [this, helper](int exitCode, QProcess::ExitStatus status) {
                         helper->deleteLater();
                         if (helper == current_)
                             finished(exitCode, status == QProcess::CrashExit);
                     });
    QObject::connect(helper, &QProcess::errorOccurred, helper,
                     [this, helper](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         helper->deleteLater();
                         if (helper == current_)
                             failedToStart();
                     });
    // A sound server that does not answer (stopped, wedged) would keep the helper waiting.
    QTimer::singleShot(StartDeadlineMs, helper, [this, helper] {
        if (helper != current_ || started_ || reported_)
            return;
        helper->kill();
        report(QStringLiteral("Zvukový server neodpovídá."));
    });
    helper->start();
}

void Chime::readOutput() {
    // Read as it comes and kept short: a helper that writes without end, or one endless line,
    // would otherwise hold the program up and fill its memory.
    const QByteArray chunk = current_->readAll();
    if (reported_)
        return;
    output_ += chunk;
    received_ += chunk.size();
    if (received_ > MaxOutputBytes) {
        current_->kill();
        report(QStringLiteral("Zvukový program (%1) posílá nesrozumitelnou odpověď, byl ukončen.")
                   .arg(qt(PosixPath::shown(text(helper_)))));
        return;
    }
    for (qsizetype end; (end = output_.indexOf('\n')) >= 0; output_.remove(0, end + 1))
        heard(output_.left(end));
}

void Chime::heard(const QByteArray& line) {
    QString text = QString::fromUtf8(line).trimmed();
    if (text == QLatin1String(ChimeProtocol::Started))
        started_ = true;
    else if (!text.isEmpty())
        reason_ = text.replace(passed_, shown_);
}

void Chime::finished(int exitCode, bool crashed) {
    readOutput();
    if (!reported_)
        heard(output_); // a last line without its line end
    current_ = nullptr;
    if (reported_)
        return;
    const QString program = qt(PosixPath::shown(text(helper_)));
    if (crashed)
        report(QStringLiteral("Zvukový program (%1) skončil nečekaně (signál %2).")
                   .arg(program)
                   .arg(exitCode));
    else if (!reason_.isEmpty() && (exitCode != 0 || !started_))
        report(reason_);
    else if (exitCode != 0)
        report(
            QStringLiteral("Zvukový program (%1) skončil s chybou %2.").arg(program).arg(exitCode));
    else if (!started_) // ended well, but nothing was played
        report(QStringLiteral("Zvukový program (%1) skončil, aniž zvuk přehrál.").arg(program));
}

void Chime::failedToStart() {
    current_ = nullptr;
    const QString program = qt(PosixPath::shown(text(helper_)));
    report(QStringLiteral("Zvukový program (%1) %2.")
               .arg(program, QFileInfo::exists(helper_) ? QStringLiteral("nelze spustit")
                                                        : QStringLiteral("chybí")));
}

void Chime::report(const QString& reason) {
    reported_ = true;
    report_(reason);
}
