#pragma once

#include "core/FileErrors.h"

#include <string_view>

// Why a call of the system failed, as the program's users are told it: one of core's
// reasons, which core words in Czech. The system's own messages are in the system's language and go
// to the debugger's output only.
namespace ErrorText {

// The reason of a GetLastError() value, after passing "Vestrel: what: the system's message"
// to the debugger's output.
FileError logged(std::u16string_view what, unsigned long error);

} // namespace ErrorText
