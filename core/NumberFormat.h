#pragma once

#include <string>

// What the user's locale says of numbers: the decimal separator and the separator of digit
// groups, each a character or several (the C locale's by default). The platform reads them.
struct NumberFormat {
    std::u16string decimalPoint = u".";
    std::u16string groupSeparator = u",";
};
