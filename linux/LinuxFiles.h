#pragma once

#include "core/Files.h"

// The settings file on Linux: read and replaced through SafeFile.
class LinuxFiles final : public Files {
  public:
    std::string read(std::u16string_view path, std::u16string* error) override;
    std::u16string replace(std::u16string_view path,
                           const std::function<std::string(std::string)>& edit) override;
    std::u16string shownPath(std::u16string_view path) override;
};
