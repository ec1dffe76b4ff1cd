#include "linux/posix/ErrorText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ErrorText {

namespace {

FileReason reason(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return FileReason::NoSpace;
    case EACCES:
    case EPERM:
        return FileReason::NoPermission;
    case EROFS:
        return FileReason::ReadOnlyDisk;
    case ENAMETOOLONG:
        return FileReason::PathTooLong;
    case ENOENT:
        return FileReason::NotFound;
    case ENOTDIR:
        return FileReason::NotAFolder;
    case EISDIR:
        return FileReason::IsAFolder;
    case EILSEQ:
        return FileReason::InvalidName;
    case ETXTBSY:
    case EBUSY:
        return FileReason::InUse;
    case ELOOP:
        return FileReason::TooManyLinks;
    case EIO:
        return FileReason::DiskError;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
        return FileReason::NotReady;
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ECONNRESET:
    case ESTALE:
        return FileReason::Network;
    case EMFILE:
    case ENFILE:
        return FileReason::TooManyOpen;
    case EFBIG:
        return FileReason::TooLarge;
    case ENOMEM:
        return FileReason::NoMemory;
    default:
        return FileReason::Other;
    }
}

} // namespace

FileError logged(std::string_view what, int error) {
    std::fprintf(stderr, "Vestrel: %.*s: %s\n", int(what.size()), what.data(),
                 std::strerror(error));
    return {reason(error), static_cast<unsigned long>(error)};
}

} // namespace ErrorText
