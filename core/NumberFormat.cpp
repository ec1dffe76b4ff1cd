#include "core/NumberFormat.h"

namespace {

// Longer than any locale's separator: what is longer was read wrongly.
constexpr std::size_t MaxSeparator = 7;

bool separates(std::u16string_view separator) {
    if (separator.empty() || separator.size() > MaxSeparator)
        return false;
    for (const char16_t c : separator)
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'e' || c == u'E')
            return false;
    return true;
}

} // namespace

NumberFormat NumberFormat::of(std::u16string_view decimalPoint,
                              std::u16string_view groupSeparator) {
    NumberFormat format;
    format.decimalPoint = separates(decimalPoint) ? decimalPoint : u".";
    format.groupSeparator = separates(groupSeparator) && groupSeparator != format.decimalPoint
                                ? std::u16string(groupSeparator)
                                : std::u16string();
    return format;
}
