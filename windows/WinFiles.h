#pragma once

#include "core/Files.h"

// The settings file on Windows. Read whole, never from a device; replaced by a new file
// written beside it, flushed and swapped in by ReplaceFileW, so that a crash leaves the old
// file or the new one and the file keeps its access-control list, attributes and streams.
// A file that must stay itself (with other hard links, or held open by another program that
// lets others write) is written over in place instead, after making room for the new bytes.
class WinFiles final : public Files {
  public:
    std::string read(std::u16string_view path, std::u16string* error) override;
    std::u16string replace(std::u16string_view path,
                           const std::function<std::string(std::string)>& edit) override;
    std::u16string shownPath(std::u16string_view path) override;
};
