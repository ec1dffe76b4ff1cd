#pragma once

#include <functional>
#include <string>
#include <string_view>

// Reading and replacing the settings file, as the platform does it safely: a crash leaves
// the old file or the new one, never part of either. Failures come back as a Czech sentence.
class Files {
  public:
    virtual ~Files() = default;

    // The file's bytes. A missing file reads as empty; so does one that cannot be read, and
    // then `error` says why.
    virtual std::string read(std::u16string_view path, std::u16string* error) = 0;
    // Reads the file (a missing one as empty), lets `edit` make the new bytes from the old and
    // puts them in its place. Returns why that failed, or nothing.
    virtual std::u16string replace(std::u16string_view path,
                                   const std::function<std::string(std::string)>& edit) = 0;
    // The path as the user knows it, for messages.
    virtual std::u16string shownPath(std::u16string_view path) = 0;
};
