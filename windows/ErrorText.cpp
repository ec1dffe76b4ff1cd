#include "windows/ErrorText.h"

#include "windows/WinText.h"

#include <windows.h>

namespace ErrorText {

namespace {

constexpr unsigned long DiskQuotaExceeded = 1295; // ERROR_DISK_QUOTA_EXCEEDED, not in every SDK

FileReason reason(unsigned long error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case DiskQuotaExceeded:
        return FileReason::NoSpace;
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD:
        return FileReason::NoPermission;
    case ERROR_WRITE_PROTECT:
        return FileReason::ReadOnlyDisk;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileReason::PathTooLong;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return FileReason::NotFound;
    case ERROR_DIRECTORY:
        return FileReason::NotAFolder;
    case ERROR_INVALID_NAME:
        return FileReason::InvalidName;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileReason::InUse;
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileReason::TooManyLinks;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE:
        return FileReason::DiskError;
    case ERROR_NOT_READY:
        return FileReason::NotReady;
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
        return FileReason::Network;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileReason::TooManyOpen;
    case ERROR_FILE_TOO_LARGE:
        return FileReason::TooLarge;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return FileReason::NoMemory;
    default:
        return FileReason::Other;
    }
}

} // namespace

FileError logged(std::u16string_view what, unsigned long error) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    const std::wstring line = L"Vestrel: " + wide(what) + L": " + (message ? message : L"?");
    OutputDebugStringW(line.c_str());
    LocalFree(message);
    return {reason(error), error};
}

} // namespace ErrorText
