#pragma once

#include <string>
#include <string_view>

// The program's text (UTF-16 of the standard library) in and out of the Win32 API, whose
// wide characters are the same 16-bit units.
inline std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}
inline std::u16string text(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}
