#pragma once

#include <string>
#include <string_view>

// The Windows-1250 (Central European) code page of the settings files. A table of our own
// rather than ICU's converter: it costs nothing at start-up, and the five bytes the code
// page leaves undefined map to U+0081 and its like and back, as Windows does, so that no
// byte of a file is ever lost in a round trip.
namespace Windows1250 {

std::u16string decode(std::string_view bytes);
// Sets *ok to false (and leaves '?' in its place) for a character the code page lacks.
std::string encode(std::u16string_view text, bool* ok);

} // namespace Windows1250
