#include "windows/WinFiles.h"

#include "core/FileErrors.h"
#include "core/TemporaryName.h"
#include "windows/ErrorText.h"
#include "windows/WinPath.h"
#include "windows/WinText.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <random>
#include <utility>

namespace {

// A file handle that closes itself.
class Handle {
  public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        std::swap(handle_, other.handle_);
        return *this;
    }
    ~Handle() { close(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// Others may read, write, rename and delete the file while we have it open.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// An existing file opened for reading, and what it is.
struct Opened {
    std::wstring api;     // the name the file functions take
    std::u16string shown; // the name the user knows
    Handle file;
    bool found = false; // the file exists, though its handle may be closed by now
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD links = 1;
    std::int64_t size = 0;

    bool exists() const { return found; }
    // The reason of the last failure, in Czech; the system's words are logged.
    std::u16string reason() const { return ErrorText::logged(shown, GetLastError()); }
};

// Opens the file for reading, when there is one. Returns why it cannot be read, or nothing.
std::optional<std::u16string> open(std::u16string_view path, Opened& opened) {
    opened.api = WinPath::forApi(path);
    opened.shown = text(WinPath::shown(path));
    opened.attributes = GetFileAttributesW(opened.api.c_str());
    if (opened.attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(GetLastError())
                   ? std::nullopt
                   : std::optional(FileErrors::cannotRead(opened.shown, opened.reason()));
    if (opened.attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileErrors::isFolder(opened.shown);
    opened.file = Handle(CreateFileW(opened.api.c_str(), GENERIC_READ, ShareAll, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!opened.file.valid())
        return isMissing(GetLastError())
                   ? std::nullopt
                   : std::optional(FileErrors::cannotRead(opened.shown, opened.reason()));
    opened.found = true;
    if (GetFileType(opened.file.get()) != FILE_TYPE_DISK) // a device's name: CON, NUL, COM1
        return FileErrors::notOrdinary(opened.shown);
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (!GetFileInformationByHandle(opened.file.get(), &info) ||
        !GetFileSizeEx(opened.file.get(), &size))
        return FileErrors::cannotRead(opened.shown, opened.reason());
    opened.links = info.nNumberOfLinks;
    opened.size = size.QuadPart;
    if (opened.size > FileErrors::MaxSize)
        return FileErrors::tooLarge(opened.shown, opened.size);
    return std::nullopt;
}

bool readAll(HANDLE file, std::string& out, std::int64_t expected) {
    out.reserve(std::size_t(expected));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (std::int64_t(out.size()) + got > FileErrors::MaxSize) { // grown since it was measured
            SetLastError(ERROR_FILE_TOO_LARGE);
            return false;
        }
        out.append(buffer, got);
    }
}

bool writeAll(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD wrote = 0;
        const auto chunk = DWORD(std::min<std::size_t>(bytes.size() - done, std::size_t(1) << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

bool setLength(HANDLE file, std::int64_t length) {
    LARGE_INTEGER at{};
    at.QuadPart = length;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

bool rewind(HANDLE file) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
}

// Writes over the file itself: it grows first (so a full disk fails before a byte changes),
// then takes the new bytes and is cut to their length.
std::u16string writeInPlace(const Opened& old, const std::string& bytes) {
    Handle file(CreateFileW(old.api.c_str(), GENERIC_WRITE, ShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return FileErrors::cannotOpenForWriting(old.shown, old.reason());
    const auto size = std::int64_t(bytes.size());
    if ((size > old.size && !setLength(file.get(), size)) || !rewind(file.get()) ||
        !writeAll(file.get(), bytes) || !setLength(file.get(), size) ||
        !FlushFileBuffers(file.get()) || !file.close())
        return FileErrors::writeFailed(old.shown, old.reason());
    return {};
}

// A free name beside the file: the name, a number and `suffix`, as the file functions take it.
std::wstring besideIt(const Opened& old, std::random_device& random, const char16_t* suffix) {
    return WinPath::forApi(old.shown + u"." + text(std::to_wstring(random() % 1000000000u)) +
                           suffix);
}

// Removes what a save cut short left beside the file under a temporary name.
void removeLeftovers(const Opened& old) {
    const std::u16string shown = text(WinPath::shown(old.shown));
    const std::size_t cut = shown.find_last_of(u'\\');
    if (cut == std::u16string::npos)
        return;
    const std::u16string folder = shown.substr(0, cut + 1);
    const std::u16string fileName = shown.substr(cut + 1);
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(WinPath::forApi(folder + fileName + u".*.tmp").c_str(), FindExInfoBasic,
                         &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return std::int64_t(std::uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime);
    };
    do {
        const std::int64_t age = (ticks(now) - ticks(found.ftLastWriteTime)) / 10000000;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            TemporaryName::isLeftBehind(text(found.cFileName), fileName, age))
            DeleteFileW(WinPath::forApi(folder + text(found.cFileName)).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool exists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes a new file beside the old one and puts it in the old one's place. Nothing when it
// could not be swapped in with the old one left as it was: the caller then writes in place.
std::optional<std::u16string> writeNewFile(const Opened& old, const std::string& bytes) {
    std::wstring temporary;
    Handle file;
    std::random_device random;
    removeLeftovers(old);
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporary = WinPath::forApi(TemporaryName::of(old.shown, random()));
        file = Handle(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.valid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.valid()) {
        // A folder the user may not write in, with a file in it the user may write.
        if (old.exists() && GetLastError() == ERROR_ACCESS_DENIED)
            return std::nullopt;
        return FileErrors::cannotOpenForWriting(old.shown, old.reason());
    }
    const auto discard = [&] {
        const DWORD saved = GetLastError();
        file.close(); // no file open without sharing can be deleted
        DeleteFileW(temporary.c_str());
        SetLastError(saved);
    };
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.close()) {
        const std::u16string error = FileErrors::writeFailed(old.shown, old.reason());
        discard();
        return error;
    }
    if (!old.exists()) {
        if (MoveFileExW(temporary.c_str(), old.api.c_str(), MOVEFILE_WRITE_THROUGH))
            return std::u16string();
        const std::u16string error = FileErrors::writeFailed(old.shown, old.reason());
        discard();
        return error;
    }
    // With a backup name: where the swap fails half way (a network share, a program holding
    // the file), the old file is known to be there and can be put back.
    const std::wstring backup = besideIt(old, random, u".bak");
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (ReplaceFileW(old.api.c_str(), temporary.c_str(), backup.c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                         nullptr)) {
            DeleteFileW(backup.c_str());
            return std::u16string();
        }
        const DWORD error = GetLastError();
        if (!exists(old.api)) {
            // The old file went aside: the new one, whole and flushed, takes its name, or the
            // old one comes back.
            if (MoveFileExW(temporary.c_str(), old.api.c_str(), MOVEFILE_WRITE_THROUGH)) {
                DeleteFileW(backup.c_str());
                return std::u16string();
            }
            const std::u16string why = FileErrors::writeFailed(old.shown, old.reason());
            MoveFileExW(backup.c_str(), old.api.c_str(), MOVEFILE_WRITE_THROUGH);
            discard();
            return why;
        }
        // A virus scanner or an indexer looking at the new file lets go in a moment.
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
            error != ERROR_UNABLE_TO_REMOVE_REPLACED)
            break;
        Sleep(50);
    }
    discard(); // held open by a program that lets others write, but not rename or delete
    return std::nullopt;
}

// Where a symbolic link or a junction leads: the file that is written. Other reparse points
// (a cloud file, a deduplicated one) are the file itself.
void followLink(Opened& old) {
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!(old.attributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        !GetFileInformationByHandleEx(old.file.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
        (tag.ReparseTag != IO_REPARSE_TAG_SYMLINK && tag.ReparseTag != IO_REPARSE_TAG_MOUNT_POINT))
        return;
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(old.file.get(), target.data(),
                                                       DWORD(target.size()), VOLUME_NAME_DOS);
        if (length == 0)
            return;
        if (length < target.size()) {
            target.resize(length);
            break;
        }
        target.resize(length + 1);
    }
    old.api = target; // \\?\C:\..., as the file functions take it
    old.shown = text(target.starts_with(L"\\\\?\\") ? target.substr(4) : target);
}

} // namespace

std::string WinFiles::read(std::u16string_view path, std::u16string* error) {
    Opened opened;
    std::optional<std::u16string> why = open(path, opened);
    std::string content;
    if (!why && opened.exists() && !readAll(opened.file.get(), content, opened.size))
        why = FileErrors::cannotRead(opened.shown, opened.reason());
    if (why)
        content.clear();
    if (error)
        *error = why.value_or(std::u16string());
    return content;
}

std::u16string WinFiles::replace(std::u16string_view path,
                                 const std::function<std::string(std::string)>& edit) {
    Opened old;
    if (std::optional<std::u16string> why = open(path, old))
        return *why;
    std::string content;
    if (old.exists()) {
        if (old.attributes & FILE_ATTRIBUTE_READONLY)
            return FileErrors::readOnly(old.shown);
        if (!readAll(old.file.get(), content, old.size))
            return FileErrors::cannotRead(old.shown, old.reason());
    }
    if (old.exists())
        followLink(old); // a link stays a link: what it leads to is replaced
    old.file.close();
    const std::string bytes = edit(std::move(content));
    // A file with other names keeps them.
    if (old.exists() && old.links > 1)
        return writeInPlace(old, bytes);
    if (std::optional<std::u16string> written = writeNewFile(old, bytes))
        return *written;
    return writeInPlace(old, bytes);
}

std::u16string WinFiles::shownPath(std::u16string_view path) {
    return text(WinPath::shown(path));
}
