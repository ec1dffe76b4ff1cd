#include "linux/SafeFile.h"

#include "core/FileErrors.h"
#include "core/TemporaryName.h"
#include "linux/Descriptor.h"
#include "linux/ErrorText.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <ctime>
#include <optional>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace SafeFile {

QByteArray linkTarget(const QByteArray& path) {
    QByteArray target(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(path.constData(), target.data(), std::size_t(target.size()));
        if (n < 0)
            return {};
        if (n < target.size())
            return target.left(n);
        target.resize(target.size() * 2);
    }
}

namespace {

QString q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}
std::u16string u(const QString& text) {
    return text.toStdU16String();
}

QString tooLarge(const QString& shown, off_t size) {
    return q(FileErrors::tooLarge(u(shown), size));
}

QString cannotRead(const QString& shown) {
    return q(FileErrors::cannotRead(u(shown), u(ErrorText::logged(shown, errno))));
}

QString cannotOpenForWriting(const QString& shown) {
    return q(FileErrors::cannotOpenForWriting(u(shown), u(ErrorText::logged(shown, errno))));
}

QString writeFailed(const QString& shown) {
    return q(FileErrors::writeFailed(u(shown), u(ErrorText::logged(shown, errno))));
}

// Opens a regular file for reading without blocking on a FIFO; fills `info`.
int openRegular(const QByteArray& name, struct stat& info) {
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 && ::fstat(fd, &info) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

bool readAll(int fd, std::string& out, off_t expectedSize) {
    out.reserve(std::size_t(expectedSize));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (qsizetype(out.size()) + n > MaxSize) { // grown since it was measured
            errno = EFBIG;
            return false;
        }
        out.append(buffer, n);
    }
}

bool writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

// The file may not be replaced by another without changing what it is: it has other
// names, an access-control list or other extended attributes.
bool mustStayThisFile(int fd, const struct stat& info) {
    if (info.st_nlink > 1)
        return true;
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    QByteArray names(qMax<ssize_t>(size, 0), '\0');
    if (size <= 0 || ::flistxattr(fd, names.data(), std::size_t(names.size())) <= 0)
        return false;
    // The security label every file has under SELinux is given to a new file as well.
    for (const QByteArray& name : names.split('\0'))
        if (!name.isEmpty() && name != "security.selinux")
            return true;
    return false;
}

// Writes over the file itself: it grows first (so a full disk fails before a byte
// changes), then takes the new bytes and is cut to their length.
QString writeInPlace(const QByteArray& target, const QString& shown, const std::string& bytes) {
    Descriptor fd(::open(target.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return cannotOpenForWriting(shown);
    if (off_t(bytes.size()) > info.st_size) {
        const int error = ::posix_fallocate(fd.get(), 0, off_t(bytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            errno = error;
            return writeFailed(shown);
        }
    }
    if (!writeAll(fd.get(), bytes) || ::ftruncate(fd.get(), off_t(bytes.size())) != 0 ||
        ::fsync(fd.get()) != 0 || !fd.close())
        return writeFailed(shown);
    return {};
}

// Removes what a save cut short left beside the target under a temporary name.
void removeLeftovers(const QByteArray& target) {
    const qsizetype cut = target.lastIndexOf('/');
    const QByteArray folder = cut < 0    ? QByteArray(".")
                              : cut == 0 ? QByteArray("/")
                                         : target.left(cut);
    const std::u16string fileName = u(QFile::decodeName(target.mid(cut + 1)));
    DIR* entries = ::opendir(folder.constData());
    if (!entries)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) &&
            TemporaryName::isLeftBehind(u(QFile::decodeName(entry->d_name)), fileName,
                                        now - info.st_mtime))
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

// Writes a new file beside the target and renames it over the target. Nothing when the
// new file cannot be what the old one was (its owner, group or mode) or the folder takes
// no new file: the caller then writes in place.
std::optional<QString> writeNewFile(const QByteArray& target, const QString& shown,
                                    const std::string& bytes, const struct stat* old) {
    QByteArray temporary;
    int fd = -1;
    removeLeftovers(target);
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target + QFile::encodeName(
                                 q(TemporaryName::of(u"", QRandomGenerator::global()->generate())));
        // A new file gets the mode the umask gives; a replacement the old file's, below.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    old ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        if (old && (errno == EACCES || errno == EPERM || errno == EROFS))
            return std::nullopt;
        return cannotOpenForWriting(shown);
    }
    Descriptor file(fd);
    const auto discard = [&] {
        const int saved = errno;
        ::unlink(temporary.constData());
        errno = saved;
    };
    if (old) {
        const bool sameOwner = old->st_uid == ::geteuid();
        // The mode bits as they were, set after the owner (which clears set-id bits).
        if (::fchown(fd, sameOwner ? uid_t(-1) : old->st_uid, old->st_gid) != 0 ||
            ::fchmod(fd, old->st_mode & 07777) != 0) {
            discard();
            return std::nullopt;
        }
    }
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0 || !file.close() ||
        ::rename(temporary.constData(), target.constData()) != 0) {
        const QString error = writeFailed(shown);
        discard();
        return error;
    }
    return QString();
}

} // namespace

QString shownPath(const QString& path) {
    static const QString viaDescriptor = QStringLiteral("/proc/self/fd/");
    if (!path.startsWith(viaDescriptor))
        return path;
    const qsizetype rest = path.indexOf(QLatin1Char('/'), viaDescriptor.size());
    const QString folder = QString::fromUtf8(linkTarget(QFile::encodeName(path.left(rest))));
    return folder.isEmpty() ? path : folder + (rest < 0 ? QString() : path.mid(rest));
}

std::string read(const QString& path, QString* error) {
    std::string content;
    struct stat info {};
    Descriptor fd(openRegular(QFile::encodeName(path), info));
    QString why;
    if (fd.get() < 0 && errno != ENOENT)
        why = cannotRead(shownPath(path));
    else if (fd.get() >= 0 && !S_ISREG(info.st_mode))
        why = q(FileErrors::notOrdinary(u(shownPath(path))));
    else if (fd.get() >= 0 && info.st_size > MaxSize)
        why = tooLarge(shownPath(path), info.st_size);
    else if (fd.get() >= 0 && !readAll(fd.get(), content, info.st_size))
        why = cannotRead(shownPath(path));
    if (!why.isEmpty())
        content.clear();
    if (error)
        *error = why;
    return content;
}

QString replace(const QString& path, const std::function<std::string(std::string)>& edit) {
    const QByteArray name = QFile::encodeName(path);
    const QString shown = shownPath(path);
    std::string content;
    struct stat info {};
    Descriptor fd(openRegular(name, info));
    const bool exists = fd.get() >= 0;
    if (!exists && errno != ENOENT)
        return cannotRead(shown);
    if (exists) {
        if (S_ISDIR(info.st_mode))
            return q(FileErrors::isFolder(u(shown)));
        if (!S_ISREG(info.st_mode))
            return q(FileErrors::notOrdinary(u(shown)));
        // The owner's write bit too: the superuser may write anything, but a file its owner
        // made read-only is meant to stay as it is.
        if (::access(name.constData(), W_OK) != 0 || !(info.st_mode & S_IWUSR))
            return q(FileErrors::readOnly(u(shown)));
        if (info.st_size > MaxSize)
            return tooLarge(shown, info.st_size);
        if (!readAll(fd.get(), content, info.st_size))
            return cannotRead(shown);
    }
    const std::string bytes = edit(std::move(content));

    // A link stays a link: its target is what gets written.
    QByteArray target = name;
    for (int depth = 0; exists && depth < 40; ++depth) {
        const QByteArray link = linkTarget(target);
        if (link.isEmpty())
            break;
        target = link.startsWith('/') ? link : target.left(target.lastIndexOf('/') + 1) + link;
    }
    if (exists && mustStayThisFile(fd.get(), info))
        return writeInPlace(target, shown, bytes);
    if (const std::optional<QString> written =
            writeNewFile(target, shown, bytes, exists ? &info : nullptr))
        return *written;
    return writeInPlace(target, shown, bytes);
}

} // namespace SafeFile
