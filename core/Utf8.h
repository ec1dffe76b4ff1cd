#pragma once

#include <string>
#include <string_view>

// UTF-8, as the settings files may hold it, to and from UTF-16 text.
namespace Utf8 {

// Whether the bytes are well-formed UTF-8 (no overlong form, surrogate or code point
// beyond U+10FFFF).
bool isValid(std::string_view bytes);
// The text; each ill-formed part becomes U+FFFD. A leading U+FEFF stays text.
std::u16string decode(std::string_view bytes);
// The bytes; a lone surrogate becomes U+FFFD.
std::string encode(std::u16string_view text);

// A name the system gave as bytes, as text that keeps them all: each byte of an ill-formed
// part becomes a lone surrogate of its own (U+DC80 to U+DCFF).
std::u16string decodeKeepingBytes(std::string_view bytes);
// The bytes again: such a lone surrogate becomes its byte.
std::string encodeKeepingBytes(std::u16string_view text);

} // namespace Utf8
