#pragma once

#include "core/FileErrors.h"

#include <string_view>

// What went wrong, in the words of the program's users: the system's own messages are
// English and go to standard error only.
namespace ErrorText {

// The reason of an errno value, after writing "Vestrel: what: the system's message" to
// standard error.
FileError logged(std::string_view what, int error);

} // namespace ErrorText
