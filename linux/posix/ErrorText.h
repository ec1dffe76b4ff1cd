#pragma once

#include "core/FileErrors.h"

#include <string_view>

// Why a call of the system failed, as the program's users are told it: one of core's
// reasons, which core words in Czech. The system's own messages are English and go to standard
// error only.
namespace ErrorText {

// The reason of an errno value, after writing "Vestrel: what: the system's message" to
// standard error.
FileError logged(std::string_view what, int error);

} // namespace ErrorText
