#include "linux/Chime.h"

#include "chime/ChimeProtocol.h"
#include "core/Utf8.h"
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

Chime::Chime(QString helper, std::function<void(std::u16string_view)> report)
    : helper_(std::move(helper)), report_(std::move(report)) {}

Chime::~Chime() {
    delete current_; // ends a chime still playing
}

void Chime::play(const QString& path) {
    if (current_) {
        current_->kill(); // the new warning's chime replaces it; it deletes itself when ended
        current_ = nullptr;
    }
    reported_ = false;
    const QString passed = forTheHelper(path);
    reply_.emplace(PosixPath::shown(text(helper_)), text(passed), PosixPath::shown(text(path)));

    auto* helper = new QProcess;
    current_ = helper;
    helper->setProgram(forTheHelper(helper_));
    helper->setArguments({passed});
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
                         if (helper == current_) {
                             current_ = nullptr;
                             report(reply_->notStarted(QFileInfo::exists(helper_)));
                         }
                     });
    // A sound server that does not answer (stopped, wedged) would keep the helper waiting.
    QTimer::singleShot(StartDeadlineMs, helper, [this, helper] {
        if (helper != current_ || reply_->started() || reported_)
            return;
        helper->kill();
        report(Utf8::decode(ChimeProtocol::NoAnswer));
    });
    helper->start();
}

void Chime::readOutput() {
    // Read as it comes: a helper that writes without end would otherwise hold the program up.
    const QByteArray chunk = current_->readAll();
    if (reported_)
        return;
    if (const std::u16string babble = reply_->take({chunk.constData(), std::size_t(chunk.size())});
        !babble.empty()) {
        current_->kill();
        report(babble);
    }
}

void Chime::finished(int exitCode, bool crashed) {
    readOutput();
    current_ = nullptr;
    if (reported_)
        return;
    if (const std::u16string why = reply_->ended(exitCode, crashed); !why.empty())
        report(why);
}

void Chime::report(const std::u16string& reason) {
    reported_ = true;
    report_(reason);
}
