#include "linux/QtPlatform.h"

#include "chime/ChimeProtocol.h"
#include "linux/IdleTime.h"
#include "linux/KeyboardOffers.h"
#include "linux/SafeFile.h"
#include "linux/SessionWatch.h"
#include "linux/SoundReport.h"
#include "linux/WarningWindows.h"
#include "linux/WindowManager.h"
#include "linux/XAtoms.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QVarLengthArray>
#include <QWindow>

#include <xcb/xcb.h>

#include <cerrno>
#include <cstdio>
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

QtPlatform::QtPlatform() = default;
QtPlatform::~QtPlatform() = default;

void QtPlatform::chooseWindowSystem() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return; // the user's choice stands
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

bool QtPlatform::claimProgramFolder() {
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

MessageBoxAnswer QtPlatform::messageBox(std::u16string_view text, MessageBoxStyle style,
                                        std::u16string_view title) {
    QMessageBox box;
    box.setWindowTitle(qt(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(qt(text));
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    if (style == MessageBoxStyle::YesNoExclamation) {
        box.setIcon(QMessageBox::Warning);
        QPushButton* yes = box.addButton(QStringLiteral("Ano"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Ne"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
    }
    box.setIcon(style == MessageBoxStyle::OkInformation ? QMessageBox::Information
                                                        : QMessageBox::Critical);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return MessageBoxAnswer::Ok;
}

void QtPlatform::end(int status) {
    // At once: no handler runs after this, no window gets a chance to write anything.
    std::fflush(nullptr);
    std::_Exit(status);
}

void QtPlatform::playSound(std::u16string_view path) {
    if (!chime_)
        chime_ = std::make_unique<Chime>(
            folder() + QLatin1Char('/') + QLatin1String(ChimeProtocol::Program),
            [this](const QString& reason) { reportSoundError(reason); });
    chime_->play(qt(path));
}

void QtPlatform::reportSoundError(const QString& reason) {
    if (soundReport_) { // the earlier report is still open: one is enough, seen above all
        soundReport_->raise();
        return;
    }
    // The sound layer's own report; it does not hold up the warning window.
    auto* box = new SoundReport(*this, QStringLiteral("Zvuk varování nelze přehrát.\n") + reason);
    // Shown once the warning that comes with it is up, so that even the full-screen one
    // does not hide it.
    QTimer::singleShot(0, box, &QWidget::show);
    soundReport_ = box;
}

void QtPlatform::openUrl(std::u16string_view url) {
    QDesktopServices::openUrl(QUrl(qt(url)));
}

QRect QtPlatform::screenGeometry() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 640, 480);
}

QList<QRect> QtPlatform::otherScreens() {
    QList<QRect> others;
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            others.append(screen->geometry());
    return others;
}

void QtPlatform::watchScreens(QObject& owner, std::function<void()> changed) {
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &owner, changed);
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &owner, changed);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &owner, changed);
}

std::u16string QtPlatform::programFolder() {
    return text(folder());
}

QString QtPlatform::folder() {
    if (!folder_.isEmpty())
        return folder_;
    QByteArray folder = SafeFile::linkTarget("/proc/self/exe");
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

bool QtPlatform::fileExists(std::u16string_view path) {
    const QFileInfo info(qt(path));
    return info.isFile() && !info.isHidden();
}

NumberFormat QtPlatform::numberFormat() {
    const QLocale locale = QLocale::system();
    return {text(locale.decimalPoint()), text(locale.groupSeparator())};
}

void QtPlatform::keepOffTaskbar(QWidget& window) {
    // The window types say "no task bar entry" only to some window managers; the EWMH
    // states say it to all. Set on the unmapped window, they are kept by Qt when it maps
    // the window, and set again for each showing (a window manager drops them at unmap).
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || window.isVisible())
        return;
    xcb_connection_t* connection = x11->connection();
    const auto id = xcb_window_t(window.winId());
    // The names asked all at once, in one round trip to the X server: the first call comes
    // before the square's first showing.
    const auto atoms = internAtoms(
        connection, {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    const xcb_atom_t state = atoms[0];
    QVarLengthArray<xcb_atom_t, 8> states;
    const auto cookie = xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 32);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        if (reply->format == 32)
            states.append(values, xcb_get_property_value_length(reply) / 4);
        std::free(reply);
    }
    for (const xcb_atom_t skip : {atoms[1], atoms[2]})
        if (!states.contains(skip))
            states.append(skip);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(states.size()), states.constData());
}

void QtPlatform::showWarning(QWidget& window) {
    WarningWindows::show(window);
}

void QtPlatform::takeKeyboard(QWidget& window) {
    // On the native window alone: a widget whose flags change is hidden.
    window.overrideWindowFlags(window.windowFlags() & ~Qt::WindowDoesNotAcceptFocus);
    if (QWindow* native = window.windowHandle())
        native->setFlags(native->flags() & ~Qt::WindowDoesNotAcceptFocus);
    window.activateWindow();
    // The window manager may count the window active already, having offered it the focus
    // while it took none (KWin, once the dialog has closed), and then does nothing more. The
    // focus set by the program itself, as the user asked, works everywhere.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_set_input_focus(x11->connection(), XCB_INPUT_FOCUS_PARENT, xcb_window_t(window.winId()),
                            XCB_CURRENT_TIME);
        xcb_flush(x11->connection());
    }
}

void QtPlatform::takeKeyboardWhenOffered(QWidget& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    // Only IceWM's switcher offers these windows the keyboard. Other window managers offer it
    // when they pass the focus on by themselves (mutter, as the user's window closes): that
    // must not give a warning the keys meant for the user's programs. A Wayland compositor
    // gives the keyboard itself.
    if (!x11 || !WindowManager(x11->connection()).isIceWm())
        return;
    if (!offers_)
        offers_ = std::make_unique<KeyboardOffers>(
            x11->connection(), [this](QWidget& offered) { takeKeyboard(offered); });
    offers_->accept(window);
}

void QtPlatform::runModal(QWidget& window) {
    QEventLoop loop;
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

namespace {

qint64 microseconds(clockid_t clock) {
    timespec now{};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

} // namespace

std::int64_t QtPlatform::clockMicroseconds() {
    return microseconds(CLOCK_BOOTTIME);
}

std::int64_t QtPlatform::sleptMicroseconds() {
    return microseconds(CLOCK_BOOTTIME) - microseconds(CLOCK_MONOTONIC);
}

bool QtPlatform::sessionLocked() {
    return session_ && session_->locked();
}

std::int64_t QtPlatform::idleMicroseconds() {
    return IdleTime::microseconds();
}

void QtPlatform::watchSession(std::function<void()> changed) {
    // From the event loop, once the square is up: the buses never delay the start.
    QTimer::singleShot(0, qApp, [this, changed = std::move(changed)] {
        if (!session_) {
            session_ = new SessionWatch(changed);
            session_->setParent(qApp);
        }
    });
}
