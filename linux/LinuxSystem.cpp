#include "linux/LinuxSystem.h"

#include "chime/ChimeProtocol.h"
#include "linux/Chime.h"
#include "linux/DoNotDisturb.h"
#include "linux/FullScreenProgram.h"
#include "linux/IdleTime.h"
#include "linux/QtConvert.h"
#include "linux/SessionWatch.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUrl>

#include <ctime>

LinuxSystem::LinuxSystem() = default;
LinuxSystem::~LinuxSystem() = default;

bool LinuxSystem::claimProgramFolder() {
    return folder_.claim();
}

void LinuxSystem::playSound(std::u16string_view path,
                            std::function<void(std::u16string_view reason)> failed) {
    soundFailed_ = std::move(failed);
    if (!chime_)
        chime_ = std::make_unique<Chime>(
            qt(folder_.path()) + QLatin1Char('/') + QLatin1String(ChimeProtocol::Program),
            [this](std::u16string_view reason) { soundFailed_(reason); });
    chime_->play(qt(path));
}

void LinuxSystem::openUrl(std::u16string_view url) {
    QDesktopServices::openUrl(QUrl(qt(url)));
}

std::u16string LinuxSystem::programFolder() {
    return folder_.path();
}

bool LinuxSystem::fileExists(std::u16string_view path) {
    const QFileInfo info(qt(path));
    return info.isFile() && !info.isHidden();
}

NumberFormat LinuxSystem::numberFormat() {
    const QLocale locale = QLocale::system();
    return NumberFormat::of(text(locale.decimalPoint()), text(locale.groupSeparator()));
}

namespace {

qint64 microseconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

} // namespace

std::int64_t LinuxSystem::clockMicroseconds() {
    return microseconds(CLOCK_BOOTTIME);
}

std::int64_t LinuxSystem::sleptMicroseconds() {
    return microseconds(CLOCK_BOOTTIME) - microseconds(CLOCK_MONOTONIC);
}

bool LinuxSystem::sessionLocked() {
    return session_ && session_->locked();
}

bool LinuxSystem::userBusy() {
    return anotherProgramFullScreen() || doNotDisturb();
}

std::int64_t LinuxSystem::idleMicroseconds() {
    return IdleTime::microseconds();
}

void LinuxSystem::watchSession(std::function<void()> changed) {
    // From the event loop, once the square is up: the buses never delay the start.
    QTimer::singleShot(0, qApp, [this, changed = std::move(changed)] {
        if (!session_) {
            session_ = new SessionWatch(changed);
            session_->setParent(qApp);
        }
    });
}
