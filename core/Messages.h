#pragma once

#include <QLocale>
#include <QString>

class ReminderState;

// The texts put together from the reminder state: the warning and the interval summary.
namespace Messages {

// MessageText1, " ", the interval, " minut. ", MessageText2: nothing trimmed or added.
QString ComposeWarning(const ReminderState& state, const QLocale& locale);
// "Zobrazit výstražné okno jednou za " + the interval + " minut."
QString ComposeSummary(const ReminderState& state, const QLocale& locale);
// A single-precision number with at most 7 significant digits and the locale's
// decimal separator; whole numbers without one; exponent form ("1E+10") when
// the number needs more digits than that.
QString FormatSingle(float value, const QLocale& locale);

} // namespace Messages
