#include "linux/LinuxSystem.h"

#include "chime/ChimeProtocol.h"
#include "linux/IdleTime.h"
#include "linux/QtConvert.h"
#include "linux/SessionWatch.h"
#include "linux/SoundReport.h"
#include "linux/posix/PosixPath.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstdlib>

#include <climits>
#include <ctime>

#include <fcntl.h>
#include <sys/auxv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens a folder of any path length, one name at a time.
int openFolder(const QByteArray& path) {
    int fd = ::open(path.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const QByteArray& name : path.split('/')) {
        if (name.isEmpty() || fd < 0)
            continue;
        const int next = ::openat(fd, name.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

} // namespace

LinuxSystem::LinuxSystem(QtRuntime& runtime) : runtime_(runtime) {}
LinuxSystem::~LinuxSystem() = default;

bool LinuxSystem::claimProgramFolder() {
    // One Vestrel per program folder and user: the lock lives in the user's own runtime
    // folder, named after the program folder's identity, so that no other user can take it.
    // An advisory lock of the kernel's: it dies with the process that holds it, so a crash
    // never leaves a stale lock, and taking it costs next to nothing at start-up.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    struct stat folderInfo {};
    struct stat runtimeInfo {};
    if (!runtime.startsWith('/') || ::stat(runtime.constData(), &runtimeInfo) != 0 ||
        runtimeInfo.st_uid != ::geteuid() || (runtimeInfo.st_mode & 022) != 0 ||
        ::stat(QFile::encodeName(folder()).constData(), &folderInfo) != 0)
        return true; // nowhere to keep a lock of our own: we cannot tell, so run all the same
    const QByteArray name = runtime + "/vestrel-" + QByteArray::number(quint64(folderInfo.st_dev)) +
                            '-' + QByteArray::number(quint64(folderInfo.st_ino)) + ".lock";
    lockDescriptor_ = ::open(name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat info {};
    if (lockDescriptor_ < 0 || ::fstat(lockDescriptor_, &info) != 0 || !S_ISREG(info.st_mode))
        return true;
    if (::flock(lockDescriptor_, LOCK_EX | LOCK_NB) == 0)
        return true;
    const bool heldByAnother = errno == EWOULDBLOCK;
    ::close(lockDescriptor_);
    lockDescriptor_ = -1;
    return !heldByAnother;
}

void LinuxSystem::playSound(std::u16string_view path) {
    if (!chime_)
        chime_ = std::make_unique<Chime>(
            folder() + QLatin1Char('/') + QLatin1String(ChimeProtocol::Program),
            [this](const QString& reason) { reportSoundError(reason); });
    chime_->play(qt(path));
}

void LinuxSystem::reportSoundError(const QString& reason) {
    if (soundReport_) { // the earlier report is still open: one is enough, seen above all
        soundReport_->raise();
        return;
    }
    // The sound layer's own report; it does not hold up the warning window.
    auto* box =
        new SoundReport(runtime_, QStringLiteral("Zvuk varování nelze přehrát.\n") + reason);
    // Shown once the warning that comes with it is up, so that even the full-screen one
    // does not hide it.
    QTimer::singleShot(0, box, &QWidget::show);
    soundReport_ = box;
}

void LinuxSystem::openUrl(std::u16string_view url) {
    QDesktopServices::openUrl(QUrl(qt(url)));
}

std::u16string LinuxSystem::programFolder() {
    return text(folder());
}

QString LinuxSystem::folder() {
    if (!folder_.isEmpty())
        return folder_;
    QByteArray folder = QByteArray::fromStdString(PosixPath::linkTarget("/proc/self/exe"));
    // The system names no path longer than a page: then the one the program was started by
    // (relative to the working folder, which is still the one it was started in).
    const bool named = !folder.isEmpty();
    if (!named)
        folder = reinterpret_cast<const char*>(::getauxval(AT_EXECFN));
    folder.truncate(qMax(folder.lastIndexOf('/'), folder.startsWith('/') ? 1 : 0)); // "/" stays
    folder_ = folder.isEmpty() ? QStringLiteral(".") : QFile::decodeName(folder);
    // A folder name that is no valid text (unpacked from an old archive) does not survive
    // the trip into a QString, and one longer than a path may be cannot be opened by name:
    // reach the folder through a descriptor of it instead, open for the whole run.
    if (!named || QFile::encodeName(folder_) != folder || folder.size() >= PATH_MAX)
        if (const int fd = openFolder(folder); fd >= 0)
            folder_ = QStringLiteral("/proc/self/fd/%1").arg(fd);
    return folder_;
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
