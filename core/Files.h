#pragma once

#include <functional>
#include <string>
#include <string_view>

class FileSystem;

// Reading and replacing the settings file safely, over the platform's file primitives: only
// a regular file is read or replaced (a FIFO never blocks, a device is never read), a crash
// leaves the old file or the new one, never part of either, and the file stays what it was
// (a link a link, its owner, mode, other names and access-control list kept). Failures come
// back as a Czech sentence.
class Files {
  public:
    explicit Files(FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // The file's bytes. A missing file reads as empty; so does one that cannot be read, and
    // then `error` says why.
    std::string read(std::u16string_view path, std::u16string* error);
    // Reads the file (a missing one as empty), lets `edit` make the new bytes from the old and
    // puts them in its place. Returns why that failed, or nothing.
    std::u16string replace(std::u16string_view path,
                           const std::function<std::string(std::string)>& edit);
    // The path as the user knows it, for messages.
    std::u16string shownPath(std::u16string_view path);

  private:
    // Writes a new file beside the target and swaps it in, or over the target in place
    // where a new file cannot be what the old one was.
    std::u16string write(std::u16string_view target, std::u16string_view shown,
                         const std::string& bytes, bool replacing);
    std::u16string writeInPlace(std::u16string_view target, std::u16string_view shown,
                                const std::string& bytes);
    // Removes what saves cut short left beside the target.
    void removeLeftovers(std::u16string_view target);

    FileSystem& fileSystem_;
};
