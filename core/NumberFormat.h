#pragma once

#include <string>

// What the user's locale says of numbers: the decimal separator and the separator of digit
// groups, each a character or several (the C locale's by default). The platform reads them.
struct NumberFormat {
    std::u16string decimalPoint = u".";
    std::u16string groupSeparator = u",";

    // The separators a locale gives, where they can separate anything: a decimal separator
    // that is empty, too long or has a digit, a sign or an exponent's letter in it would make
    // every number unreadable, so "." stands in for it; a group separator of that kind, or
    // one equal to the decimal separator, is left out.
    static NumberFormat of(std::u16string_view decimalPoint, std::u16string_view groupSeparator);
};
