#include "windows/WinFileSystem.h"

#include "windows/ErrorText.h"
#include "windows/WinPath.h"
#include "windows/WinText.h"

#include <windows.h>

#include <algorithm>
#include <random>
#include <utility>

namespace {

using Outcome = FileWrite::Outcome;

// A file handle that closes itself.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

// Others may read, write, rename and delete the file while we have it open.
constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Why the last call failed, told about the file at `path`.
FileError failure(std::u16string_view path) {
    const DWORD error = GetLastError(); // before the path is made
    return ErrorText::logged(text(WinPath::shown(path)), error);
}

FileWrite failed(Outcome outcome, std::u16string_view path) {
    return {outcome, failure(path)};
}

bool readAll(HANDLE file, std::string& out, std::int64_t expected, std::int64_t maxSize) {
    out.reserve(std::size_t(expected));
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        if (std::int64_t(out.size()) + got > maxSize) { // grown since it was measured
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

bool exists(const std::wstring& name) {
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file a handle is open on, as the file functions take it (\\?\C:\...).
std::wstring finalPath(HANDLE file) {
    std::wstring target(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(file, target.data(), DWORD(target.size()), VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < target.size())
            return target.substr(0, length);
        target.resize(length + 1);
    }
}

} // namespace

FileError WinFileSystem::inspect(std::u16string_view path, FileFacts& facts, std::string* content,
                                 std::int64_t maxSize) {
    facts = {};
    if (content)
        content->clear();
    const std::wstring api = WinPath::forApi(path);
    const DWORD attributes = GetFileAttributesW(api.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(GetLastError()) ? FileError{} : failure(path);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        facts.kind = FileFacts::Kind::Folder;
        return {};
    }
    const Handle file(CreateFileW(api.c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid())
        return isMissing(GetLastError()) ? FileError{} : failure(path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK) { // a device's name: CON, NUL, COM1
        facts.kind = FileFacts::Kind::Other;
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size{};
    if (!GetFileInformationByHandle(file.get(), &info) || !GetFileSizeEx(file.get(), &size))
        return failure(path);
    facts.kind = FileFacts::Kind::Regular;
    facts.size = size.QuadPart;
    facts.readOnly = attributes & FILE_ATTRIBUTE_READONLY;
    facts.mustStayThisFile = info.nNumberOfLinks > 1;
    if (content && facts.size <= maxSize && !readAll(file.get(), *content, facts.size, maxSize))
        return failure(path);
    return {};
}

std::u16string WinFileSystem::linkTarget(std::u16string_view path) {
    // Symbolic links and junctions lead elsewhere; other reparse points (a cloud file, a
    // deduplicated one) are the file itself.
    const std::wstring api = WinPath::forApi(path);
    const Handle link(CreateFileW(api.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                  nullptr));
    FILE_ATTRIBUTE_TAG_INFO tag{};
    if (!link.valid() ||
        !GetFileInformationByHandleEx(link.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
        !(tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (tag.ReparseTag != IO_REPARSE_TAG_SYMLINK && tag.ReparseTag != IO_REPARSE_TAG_MOUNT_POINT))
        return std::u16string(path);
    const Handle file(CreateFileW(api.c_str(), 0, ShareAll, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring target = file.valid() ? finalPath(file.get()) : std::wstring();
    return target.empty() ? std::u16string(path) : text(target);
}

FileWrite WinFileSystem::writeInPlace(std::u16string_view path, const std::string& bytes) {
    Handle file(CreateFileW(WinPath::forApi(path).c_str(), GENERIC_WRITE, ShareAll, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return failed(Outcome::NotOpened, path);
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        return {Outcome::Refused, {}};
    LARGE_INTEGER old{};
    const auto size = std::int64_t(bytes.size());
    if (!GetFileSizeEx(file.get(), &old) || (size > old.QuadPart && !setLength(file.get(), size)) ||
        !rewind(file.get()) || !writeAll(file.get(), bytes) || !setLength(file.get(), size) ||
        !FlushFileBuffers(file.get()) || !file.close())
        return failed(Outcome::NotWritten, path);
    return {};
}

FileWrite WinFileSystem::writeBeside(std::u16string_view path, std::u16string_view temporary,
                                     const std::string& bytes, bool replacing) {
    const std::wstring target = WinPath::forApi(path);
    const std::wstring name = WinPath::forApi(temporary);
    Handle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return {GetLastError() == ERROR_FILE_EXISTS ? Outcome::NameTaken : Outcome::NotOpened,
                failure(path)};
    const auto discard = [&](FileWrite result) {
        file.close(); // no file open without sharing can be deleted
        DeleteFileW(name.c_str());
        return result;
    };
    if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get()) || !file.close())
        return discard(failed(Outcome::NotWritten, path));
    if (!replacing) {
        if (MoveFileExW(name.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return {};
        return discard(failed(Outcome::NotWritten, path));
    }
    // With a backup name: where the swap fails half way (a network share, a program holding
    // the file), the old file is known to be there and can be put back.
    const std::wstring backup = WinPath::forApi(
        text(target) + u"." + text(std::to_wstring(std::random_device()())) + u".bak");
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (ReplaceFileW(target.c_str(), name.c_str(), backup.c_str(),
                         REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                         nullptr)) {
            DeleteFileW(backup.c_str());
            return {};
        }
        const DWORD error = GetLastError();
        if (!exists(target)) {
            // The old file went aside: the new one, whole and flushed, takes its name, or the
            // old one comes back.
            if (MoveFileExW(name.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
                DeleteFileW(backup.c_str());
                return {};
            }
            const FileWrite why = failed(Outcome::NotWritten, path);
            MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
            return discard(why);
        }
        // A virus scanner or an indexer looking at the new file lets go in a moment.
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
            error != ERROR_UNABLE_TO_REMOVE_REPLACED)
            break;
        Sleep(50);
    }
    // Held open by a program that lets others write, but not rename or delete.
    return discard({Outcome::Refused, {}});
}

std::vector<FileEntry> WinFileSystem::filesBeside(std::u16string_view path) {
    std::vector<FileEntry> files;
    const std::size_t cut = path.find_last_of(u"\\/");
    if (cut == std::u16string_view::npos)
        return files;
    const std::u16string folder(path.substr(0, cut + 1));
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(WinPath::forApi(folder + u"*").c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) {
        return std::int64_t(std::uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime);
    };
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back({folder + text(found.cFileName),
                             (ticks(now) - ticks(found.ftLastWriteTime)) / 10000000});
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

void WinFileSystem::remove(std::u16string_view path) {
    DeleteFileW(WinPath::forApi(path).c_str());
}

std::u16string WinFileSystem::shownPath(std::u16string_view path) {
    return text(WinPath::shown(path));
}
