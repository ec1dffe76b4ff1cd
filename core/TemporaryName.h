#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The names a save gives the new settings file beside the old one until it takes the old
// one's place: the file's own name, a number and ".tmp" ("data.ini.84426878.tmp"). A save cut
// short (the process killed, the machine off) leaves one behind; the next save removes what
// has such a name, and nothing else.
namespace TemporaryName {

// The temporary name for the file at `path` with the number given.
std::u16string of(std::u16string_view path, std::uint32_t number);
// Whether `name`, a name in the folder, is a temporary name of the file named `fileName`.
bool isOne(std::u16string_view name, std::u16string_view fileName);

} // namespace TemporaryName
