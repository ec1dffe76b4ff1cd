#include "core/Messages.h"

#include "core/ReminderState.h"

#include <cmath>
#include <cstdio>

namespace Messages {

QString ComposeWarning(const ReminderState& state, const QLocale& locale) {
    return state.MessageText1 + QLatin1Char(' ') + FormatSingle(state.IntervalMinutes, locale) +
           QStringLiteral(" minut. ") + state.MessageText2;
}

QString ComposeSummary(const ReminderState& state, const QLocale& locale) {
    return QStringLiteral("Zobrazit výstražné okno jednou za ") +
           FormatSingle(state.IntervalMinutes, locale) + QStringLiteral(" minut.");
}

QString FormatSingle(float value, const QLocale& locale) {
    if (value == 0.0f || std::isnan(value))
        return QStringLiteral("0");
    // %G with 7 digits: fixed notation for exponents -5..6, exponent form otherwise;
    // trailing zeros (and a bare decimal point) are dropped.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    QString text = QString::fromLatin1(buffer);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

} // namespace Messages
