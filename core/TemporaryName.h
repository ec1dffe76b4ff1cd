#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The names a save gives the new settings file beside the old one until it takes the old
// one's place: the file's own name, a number and ".tmp" ("data.ini.84426878.tmp"). A save cut
// short (the process killed, the machine off) leaves one behind; the next save removes what
// has such a name and has not been written to for ten minutes, and nothing else. A save under
// way (another user's, in a folder two share) writes its file within seconds.
namespace TemporaryName {

// The temporary name for the file at `path` with the number given.
std::u16string of(std::u16string_view path, std::uint32_t number);
// Whether `name`, a name in the folder last written `age` seconds ago, is what a save of the
// file named `fileName` left behind.
bool isLeftBehind(std::u16string_view name, std::u16string_view fileName, std::int64_t age);

} // namespace TemporaryName
