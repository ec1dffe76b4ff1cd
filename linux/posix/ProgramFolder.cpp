#include "linux/posix/ProgramFolder.h"

#include "core/Utf8.h"
#include "linux/posix/PosixPath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include <fcntl.h>
#include <sys/auxv.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Opens a folder of any path length, one name at a time.
int openFolder(const std::string& path) {
    int fd = ::open(path.starts_with('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (std::size_t at = 0; at < path.size() && fd >= 0;) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string name = path.substr(at, end - at);
        at = end + 1;
        if (name.empty())
            continue;
        const int next = ::openat(fd, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
    }
    return fd;
}

} // namespace

const std::u16string& ProgramFolder::path() {
    if (!path_.empty())
        return path_;
    std::string folder = PosixPath::linkTarget("/proc/self/exe");
    // The system names no path longer than a page: then the one the program was started by
    // (relative to the working folder, which is still the one it was started in).
    const bool named = !folder.empty();
    if (!named)
        if (const auto* started = reinterpret_cast<const char*>(::getauxval(AT_EXECFN)))
            folder = started;
    const std::size_t cut = folder.rfind('/');
    folder.resize(cut == std::string::npos ? 0
                                           : std::max<std::size_t>(cut, folder.starts_with('/')));
    path_ = folder.empty() ? u"." : Utf8::decode(folder); // "/" stays
    if (!named || !Utf8::isValid(folder) || folder.size() >= PATH_MAX)
        if (const int fd = openFolder(folder); fd >= 0)
            path_ = u"/proc/self/fd/" + Utf8::decode(std::to_string(fd));
    return path_;
}

bool ProgramFolder::claim() {
    // One Vestrel per program folder and user: the lock lives in the user's own runtime
    // folder, named after the program folder's identity, so that no other user can take it.
    // An advisory lock of the kernel's: it dies with the process that holds it, so a crash
    // never leaves a stale lock, and taking it costs next to nothing at start-up.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat folderInfo {};
    struct stat runtimeInfo {};
    if (!runtime || runtime[0] != '/' || ::stat(runtime, &runtimeInfo) != 0 ||
        runtimeInfo.st_uid != ::geteuid() || (runtimeInfo.st_mode & 022) != 0 ||
        ::stat(PosixPath::native(path()).c_str(), &folderInfo) != 0)
        return true; // nowhere to keep a lock of our own: we cannot tell, so run all the same
    const std::string name = std::string(runtime) + "/vestrel-" +
                             std::to_string(folderInfo.st_dev) + '-' +
                             std::to_string(folderInfo.st_ino) + ".lock";
    lock_ = ::open(name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    struct stat info {};
    if (lock_ < 0 || ::fstat(lock_, &info) != 0 || !S_ISREG(info.st_mode))
        return true;
    if (::flock(lock_, LOCK_EX | LOCK_NB) == 0)
        return true;
    const bool heldByAnother = errno == EWOULDBLOCK;
    ::close(lock_);
    lock_ = -1;
    return !heldByAnother;
}
