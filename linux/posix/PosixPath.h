#pragma once

#include "core/Utf8.h"

#include <string>
#include <string_view>

// Paths between the program's text and the bytes the system takes. A name that is no valid
// UTF-8 keeps its bytes through the trip.
namespace PosixPath {

inline std::string native(std::u16string_view path) {
    return Utf8::encodeKeepingBytes(path);
}
inline std::u16string text(std::string_view native) {
    return Utf8::decodeKeepingBytes(native);
}
// Where a symbolic link points, however long; empty when the path is no link.
std::string linkTarget(const std::string& path);
// The path as the user knows it. A folder reached through an open descriptor
// (/proc/self/fd/N) is shown by its name, decoded as far as it goes.
std::u16string shown(std::u16string_view path);

} // namespace PosixPath
