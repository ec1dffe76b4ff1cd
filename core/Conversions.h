#pragma once

#include "core/NumberFormat.h"

#include <cstdint>
#include <string_view>

// Number conversions under the user's locale's separators. A text that is not a number throws
// RuntimeError 13, a number out of the target's range RuntimeError 6.
namespace Conversions {

// `origin` says where the text came from, for the error message.
double toDouble(std::u16string_view text, const NumberFormat& format,
                std::u16string_view origin = {});
float toSingle(std::u16string_view text, const NumberFormat& format,
               std::u16string_view origin = {});
// Rounds to the nearest whole number, halves to the even neighbour.
std::int16_t toInteger(double value);

} // namespace Conversions
