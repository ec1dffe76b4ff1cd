#include "core/Conversions.h"

#include "core/RuntimeError.h"

#include <QRegularExpression>

#include <cfloat>
#include <cmath>

namespace Conversions {

namespace {

// A plain decimal number as the user writes it: optional sign, digits (with the
// locale's group separator between them), the locale's decimal separator, an exponent.
// Qt's own parser would also take "inf" and "nan", which are no numbers to a user.
bool looksLikeNumber(const QString& text, const QLocale& locale) {
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    const QString group = QRegularExpression::escape(locale.groupSeparator());
    const QRegularExpression pattern(
        QStringLiteral("^[+-]?(\\d+(%1\\d{3})*(%2\\d*)?|%2\\d+)([eE][+-]?\\d+)?$")
            .arg(group, point));
    return pattern.match(text).hasMatch();
}

} // namespace

double toDouble(const QString& text, const QLocale& locale, const QString& origin) {
    const QString trimmed = text.trimmed();
    if (!looksLikeNumber(trimmed, locale))
        throw RuntimeError(RuntimeError::TypeMismatch, text, origin);
    // The shape is checked: read it in one notation that takes an exponent with either
    // letter (some locales write exponents otherwise and would refuse "1e3").
    QString plain = trimmed;
    plain.remove(locale.groupSeparator()).replace(locale.decimalPoint(), QStringLiteral("."));
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        throw RuntimeError(RuntimeError::Overflow, text, origin);
    return value == 0.0 ? 0.0 : value; // no negative zero
}

float toSingle(const QString& text, const QLocale& locale, const QString& origin) {
    const double value = toDouble(text, locale, origin);
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
