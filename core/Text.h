#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The few things the program does with its text (UTF-16, as the settings file's reads and
// the systems' windows take it).
namespace Text {

// ASCII as text.
std::u16string ascii(std::string_view ascii);
// A whole number in decimal digits.
std::u16string integer(long long value);
// A number as "%g" writes it in the C locale: six significant digits.
std::u16string number(double value);
// Without the white space at either end, as Unicode counts white space.
std::u16string trimmed(std::u16string_view text);
// Every `from` replaced by `to`; an empty `from` changes nothing.
std::u16string replaced(std::u16string text, std::u16string_view from, std::u16string_view to);
// Each "%1" ... "%9" replaced by the argument of that number.
std::u16string arg(std::u16string_view pattern, std::initializer_list<std::u16string_view> args);

} // namespace Text
