#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Why the system refused to read or write a file, in the terms the user is told it: each
// platform maps its own error numbers (errno, GetLastError) onto these.
enum class FileReason {
    None,
    NoSpace,
    NoPermission,
    ReadOnlyDisk,
    PathTooLong,
    NotFound,
    NotAFolder, // part of the path is no folder
    IsAFolder,
    InvalidName,
    InUse, // another program holds the file
    TooManyLinks,
    DiskError,
    NotReady, // the device is not ready
    Network,
    TooManyOpen,
    TooLarge,
    NoMemory,
    Other, // told with the system's number
};

// A failure of the system: its reason and the system's own number for it.
struct FileError {
    FileReason reason = FileReason::None;
    unsigned long code = 0;

    explicit operator bool() const { return reason != FileReason::None; }
};

// What the settings file's reading and replacing tells the user when it fails, the same on
// every platform: the file as the user knows it, and the system's reason in Czech.
namespace FileErrors {

// Far beyond any settings file: a larger one is neither read nor replaced.
constexpr std::int64_t MaxSize = std::int64_t(64) << 20;

// The reason in a few Czech words.
std::u16string reason(const FileError& error);

std::u16string tooLarge(std::u16string_view shown, std::int64_t size);
std::u16string cannotRead(std::u16string_view shown, const FileError& error);
std::u16string cannotOpenForWriting(std::u16string_view shown, const FileError& error);
std::u16string writeFailed(std::u16string_view shown, const FileError& error);
std::u16string notOrdinary(std::u16string_view shown); // a device, a FIFO, a folder read
std::u16string isFolder(std::u16string_view shown);
std::u16string readOnly(std::u16string_view shown);

} // namespace FileErrors
