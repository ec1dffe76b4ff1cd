#pragma once

#include <string>
#include <string_view>

// What went wrong, in the words of the program's users: the system's own messages are in
// the system's language and go to the debugger's output only.
namespace ErrorText {

// A short Czech wording of a GetLastError() value.
std::u16string czech(unsigned long error);
// The same, after passing "Vestrel: what: the system's message" to the debugger's output.
std::u16string logged(std::u16string_view what, unsigned long error);

} // namespace ErrorText
