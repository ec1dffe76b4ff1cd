#include "linux/posix/PosixFileSystem.h"

#include "linux/posix/Descriptor.h"
#include "linux/posix/ErrorText.h"
#include "linux/posix/PosixPath.h"

#include <cerrno>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

using Outcome = FileWrite::Outcome;

// Why the last call failed (errno), told about the file at `path`.
FileError failure(std::u16string_view path) {
    const int error = errno; // before the path is made: that may fail on its own
    return ErrorText::logged(PosixPath::native(PosixPath::shown(path)), error);
}

FileWrite failed(Outcome outcome, std::u16string_view path) {
    return {outcome, failure(path)};
}

bool readAll(int fd, std::string& out, std::int64_t expected, std::int64_t maxSize) {
    out.reserve(std::size_t(expected));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (std::int64_t(out.size()) + n > maxSize) { // grown since it was measured
            errno = EFBIG;
            return false;
        }
        out.append(buffer, std::size_t(n));
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

// The file has other names, an access-control list or other extended attributes.
bool mustStayThisFile(int fd, const struct stat& info) {
    if (info.st_nlink > 1)
        return true;
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    std::string names(std::size_t(size > 0 ? size : 0), '\0');
    if (size <= 0 || ::flistxattr(fd, names.data(), names.size()) <= 0)
        return false;
    // The security label every file has under SELinux is given to a new file as well.
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        if (!name.empty() && name != "security.selinux")
            return true;
        at += name.size() + 1;
    }
    return false;
}

FileFacts::Kind kind(mode_t mode) {
    if (S_ISREG(mode))
        return FileFacts::Kind::Regular;
    return S_ISDIR(mode) ? FileFacts::Kind::Folder : FileFacts::Kind::Other;
}

} // namespace

FileError PosixFileSystem::inspect(std::u16string_view path, FileFacts& facts, std::string* content,
                                   std::int64_t maxSize) {
    facts = {};
    if (content)
        content->clear();
    const std::string name = PosixPath::native(path);
    const Descriptor fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 && errno == ENOENT)
        return {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return failure(path);
    facts.kind = kind(info.st_mode);
    facts.size = info.st_size;
    // The owner's write bit too: the superuser may write anything, but a file its owner made
    // read-only is meant to stay as it is.
    facts.readOnly = ::access(name.c_str(), W_OK) != 0 || !(info.st_mode & S_IWUSR);
    facts.mustStayThisFile =
        facts.kind == FileFacts::Kind::Regular && mustStayThisFile(fd.get(), info);
    if (content && facts.kind == FileFacts::Kind::Regular && facts.size <= maxSize &&
        !readAll(fd.get(), *content, facts.size, maxSize))
        return failure(path);
    return {};
}

std::u16string PosixFileSystem::linkTarget(std::u16string_view path) {
    std::string target = PosixPath::native(path);
    for (int depth = 0; depth < 40; ++depth) {
        const std::string link = PosixPath::linkTarget(target);
        if (link.empty())
            break;
        target = link.starts_with('/') ? link : target.substr(0, target.rfind('/') + 1) + link;
    }
    return PosixPath::text(target);
}

FileWrite PosixFileSystem::writeInPlace(std::u16string_view path, const std::string& bytes) {
    Descriptor fd(::open(PosixPath::native(path).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return failed(Outcome::NotOpened, path);
    if (!S_ISREG(info.st_mode))
        return {Outcome::Refused, {}};
    if (off_t(bytes.size()) > info.st_size) {
        const int error = ::posix_fallocate(fd.get(), 0, off_t(bytes.size()));
        if (error != 0 && error != EOPNOTSUPP && error != EINVAL) {
            errno = error;
            return failed(Outcome::NotWritten, path);
        }
    }
    if (!writeAll(fd.get(), bytes) || ::ftruncate(fd.get(), off_t(bytes.size())) != 0 ||
        ::fsync(fd.get()) != 0 || !fd.close())
        return failed(Outcome::NotWritten, path);
    return {};
}

FileWrite PosixFileSystem::writeBeside(std::u16string_view path, std::u16string_view temporary,
                                       const std::string& bytes, bool replacing) {
    const std::string target = PosixPath::native(path);
    const std::string name = PosixPath::native(temporary);
    struct stat old {};
    if (replacing && ::stat(target.c_str(), &old) != 0)
        return failed(Outcome::NotOpened, path);
    // A new file gets the mode the umask gives; a replacement the old file's, below.
    Descriptor fd(
        ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666));
    if (fd.get() < 0)
        return {errno == EEXIST ? Outcome::NameTaken : Outcome::NotOpened, failure(path)};
    const auto discard = [&](FileWrite result) {
        ::unlink(name.c_str());
        return result;
    };
    if (replacing) {
        const bool sameOwner = old.st_uid == ::geteuid();
        // The mode bits as they were, set after the owner (which clears set-id bits).
        if (::fchown(fd.get(), sameOwner ? uid_t(-1) : old.st_uid, old.st_gid) != 0 ||
            ::fchmod(fd.get(), old.st_mode & 07777) != 0)
            return discard({Outcome::Refused, {}});
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close() ||
        ::rename(name.c_str(), target.c_str()) != 0)
        return discard(failed(Outcome::NotWritten, path));
    return {};
}

std::vector<FileEntry> PosixFileSystem::filesBeside(std::u16string_view path) {
    const std::string target = PosixPath::native(path);
    const std::size_t cut = target.rfind('/');
    const std::string folder = cut == std::string::npos ? "."
                               : cut == 0               ? "/"
                                                        : target.substr(0, cut);
    const std::string prefix = cut == std::string::npos ? "" : target.substr(0, cut + 1);
    std::vector<FileEntry> files;
    DIR* entries = ::opendir(folder.c_str());
    if (!entries)
        return files;
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info {};
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode))
            files.push_back({PosixPath::text(prefix + entry->d_name), now - info.st_mtime});
    }
    ::closedir(entries);
    return files;
}

void PosixFileSystem::remove(std::u16string_view path) {
    ::unlink(PosixPath::native(path).c_str());
}

std::u16string PosixFileSystem::shownPath(std::u16string_view path) {
    return PosixPath::shown(path);
}
