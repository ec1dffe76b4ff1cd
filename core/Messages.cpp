#include "core/Messages.h"

#include "core/ReminderState.h"

#include <charconv>
#include <cmath>

namespace Messages {

QString ComposeWarning(const ReminderState& state, const NumberFormat& format) {
    return state.MessageText1 + QLatin1Char(' ') + FormatSingle(state.IntervalMinutes, format) +
           QStringLiteral(" minut. ") + state.MessageText2;
}

QString ComposeSummary(const ReminderState& state, const NumberFormat& format) {
    return QStringLiteral("Zobrazit výstražné okno jednou za ") +
           FormatSingle(state.IntervalMinutes, format) + QStringLiteral(" minut.");
}

QString FormatSingle(float value, const NumberFormat& format) {
    if (value == 0.0f || std::isnan(value))
        return QStringLiteral("0");
    // As %.7G writes it in the C locale (the C library's own locale would put its decimal
    // separator's bytes in): fixed notation for exponents -5..6, exponent form otherwise;
    // trailing zeros (and a bare decimal point) are dropped.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                       std::chars_format::general, 7);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer).toUpper();
    text.replace(QLatin1Char('.'), format.decimalPoint);
    return text;
}

} // namespace Messages
