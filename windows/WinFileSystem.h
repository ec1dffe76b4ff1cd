#pragma once

#include "core/FileSystem.h"

// The file primitives on Windows: files read whole, never from a device; a new file written
// beside the old one, flushed and swapped in by ReplaceFileW, so that the file keeps its
// access-control list, attributes and streams.
class WinFileSystem final : public FileSystem {
  public:
    FileError inspect(std::u16string_view path, FileFacts& facts, std::string* content,
                      std::int64_t maxSize) override;
    std::u16string linkTarget(std::u16string_view path) override;
    FileWrite writeInPlace(std::u16string_view path, const std::string& bytes) override;
    FileWrite writeBeside(std::u16string_view path, std::u16string_view temporary,
                          const std::string& bytes, bool replacing) override;
    std::vector<FileEntry> filesBeside(std::u16string_view path) override;
    void remove(std::u16string_view path) override;
    std::u16string shownPath(std::u16string_view path) override;
};
