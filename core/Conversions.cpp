#include "core/Conversions.h"

#include "core/RuntimeError.h"
#include "core/Text.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace Conversions {

namespace {

// Reads past `what` (a separator, one character or several) where the text has it there.
bool skip(std::u16string_view text, std::size_t& at, std::u16string_view what) {
    if (what.empty() || !text.substr(at).starts_with(what))
        return false;
    at += what.size();
    return true;
}

// Reads past the ASCII digits at `at`; gives how many there were.
std::size_t skipDigits(std::u16string_view text, std::size_t& at) {
    const std::size_t first = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    return at - first;
}

// A plain decimal number as the user writes it: optional sign, digits (with the locale's
// group separator before each group of three), the locale's decimal separator, an
// exponent. Qt's or the C library's parsers would also take "inf" and "nan", which are no
// numbers to a user.
bool looksLikeNumber(std::u16string_view text, const NumberFormat& format) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        ++at;
    const bool whole = skipDigits(text, at) > 0;
    if (whole)
        while (skip(text, at, format.groupSeparator))
            if (skipDigits(text, at) != 3)
                return false;
    if (skip(text, at, format.decimalPoint)) {
        if (skipDigits(text, at) == 0 && !whole)
            return false;
    } else if (!whole) {
        return false;
    }
    if (at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ++at;
        if (skipDigits(text, at) == 0)
            return false;
    }
    return at == text.size();
}

} // namespace

double toDouble(std::u16string_view text, const NumberFormat& format, std::u16string_view origin) {
    const std::u16string trimmed = Text::trimmed(text);
    if (!looksLikeNumber(trimmed, format))
        throw RuntimeError(RuntimeError::TypeMismatch, std::u16string(text),
                           std::u16string(origin));
    // The shape is checked: read it in one notation that takes an exponent with either
    // letter, whatever the locale's own.
    const std::u16string plain = Text::replaced(Text::replaced(trimmed, format.groupSeparator, u""),
                                                format.decimalPoint, u".");
    const std::string ascii(plain.begin(), plain.end()); // ASCII only, as checked
    const char* first = ascii.data() + (ascii.starts_with('+') ? 1 : 0);
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
        throw RuntimeError(RuntimeError::Overflow, std::u16string(text),
                           std::u16string(origin)); // too large, or too small
    return value == 0.0 ? 0.0 : value;              // no negative zero
}

float toSingle(std::u16string_view text, const NumberFormat& format, std::u16string_view origin) {
    const double value = toDouble(text, format, origin);
    if (std::fabs(value) > FLT_MAX)
        throw RuntimeError(RuntimeError::Overflow, std::u16string(text), std::u16string(origin));
    return static_cast<float>(value);
}

std::int16_t toInteger(double value) {
    const double rounded = std::nearbyint(value); // default rounding: halves to even
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX))
        throw RuntimeError(RuntimeError::Overflow, Text::number(value));
    return static_cast<std::int16_t>(rounded);
}

} // namespace Conversions
