#include "windows/WinFiles.h"

#include "core/FileErrors.h"
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

// Writes a new file beside the old one and puts it in the old one's place. Nothing when it
// could not be swapped in with the old one left as it was: the caller then writes in place.
std::optional<std::u16string> writeNewFile(const Opened& old, const std::string& bytes) {
    std::wstring temporary;
    Handle file;
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporary = old.api + L"." + std::to_wstring(random() % 1000000000u) + L".tmp";
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
    if (ReplaceFileW(old.api.c_str(), temporary.c_str(), nullptr,
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr))
        return std::u16string();
    // The old file went, the new one kept its temporary name: it takes the old one's.
    if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
        GetFileAttributesW(old.api.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (MoveFileExW(temporary.c_str(), old.api.c_str(), MOVEFILE_WRITE_THROUGH))
            return std::u16string();
        return FileErrors::writeFailed(old.shown, old.reason());
    }
    discard(); // held open by a program that lets others write, but not rename or delete
    return std::nullopt;
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
    old.file.close();
    const std::string bytes = edit(std::move(content));
    // A link stays a link: what it points to is written. A file with other names keeps them.
    if (old.exists() && (old.attributes & FILE_ATTRIBUTE_REPARSE_POINT || old.links > 1))
        return writeInPlace(old, bytes);
    if (std::optional<std::u16string> written = writeNewFile(old, bytes))
        return *written;
    return writeInPlace(old, bytes);
}

std::u16string WinFiles::shownPath(std::u16string_view path) {
    return text(WinPath::shown(path));
}
