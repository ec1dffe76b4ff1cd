#pragma once

#include <string>
#include <string_view>

// Paths as the program makes them ("folder/name") in the forms Windows wants.
namespace WinPath {

// With backslashes only and no doubled ones, as the user knows it: C:\Vestrel\data.ini.
std::wstring shown(std::u16string_view path);
// As the file functions take it: a long absolute path gets the \\?\ prefix that lifts the
// limit of 260 characters.
std::wstring forApi(std::u16string_view path);
// The path exactly as named: an absolute one always with the \\?\ prefix, so that a last name
// that ends in a space or a dot is not trimmed to another one ("w " to "w").
std::wstring exact(std::u16string_view path);

} // namespace WinPath
