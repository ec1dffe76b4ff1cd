#include "core/Conversions.h"

#include "core/RuntimeError.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace Conversions {

namespace {

// Reads past `what` (a separator, one character or several) where the text has it there.
bool skip(QStringView text, qsizetype& at, QStringView what) {
    if (what.isEmpty() || !text.sliced(at).startsWith(what))
        return false;
    at += what.size();
    return true;
}

// Reads past the ASCII digits at `at`; gives how many there were.
qsizetype skipDigits(QStringView text, qsizetype& at) {
    const qsizetype first = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
        ++at;
    return at - first;
}

// A plain decimal number as the user writes it: optional sign, digits (with the locale's
// group separator before each group of three), the locale's decimal separator, an
// exponent. Qt's or the C library's parsers would also take "inf" and "nan", which are no
// numbers to a user.
bool looksLikeNumber(QStringView text, const NumberFormat& format) {
    qsizetype at = 0;
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

double toDouble(const QString& text, const NumberFormat& format, const QString& origin) {
    const QString trimmed = text.trimmed();
    if (!looksLikeNumber(trimmed, format))
        throw RuntimeError(RuntimeError::TypeMismatch, text, origin);
    // The shape is checked: read it in one notation that takes an exponent with either
    // letter, whatever the locale's own.
    QString plain = trimmed;
    plain.remove(format.groupSeparator).replace(format.decimalPoint, QStringLiteral("."));
    const std::string ascii = plain.toStdString();
    const char* first = ascii.data() + (ascii.starts_with('+') ? 1 : 0);
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value))
        throw RuntimeError(RuntimeError::Overflow, text, origin); // too large, or too small
    return value == 0.0 ? 0.0 : value;                            // no negative zero
}

float toSingle(const QString& text, const NumberFormat& format, const QString& origin) {
    const double value = toDouble(text, format, origin);
    if (std::fabs(value) > FLT_MAX)
        throw RuntimeError(RuntimeError::Overflow, text, origin);
    return static_cast<float>(value);
}

std::int16_t toInteger(double value) {
    const double rounded = std::nearbyint(value); // default rounding: halves to even
    if (!(rounded >= INT16_MIN && rounded <= INT16_MAX))
        throw RuntimeError(RuntimeError::Overflow, QString::number(value));
    return static_cast<std::int16_t>(rounded);
}

} // namespace Conversions
