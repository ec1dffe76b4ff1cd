#pragma once

#include "core/NumberFormat.h"

#include <QString>

class ReminderState;

// The texts put together from the reminder state: the warning and the interval summary.
namespace Messages {

// The maker's web page: named in the missing-file message and opened by the settings
// dialog's link.
inline const QString MakerAddress = QStringLiteral("https://vestrel.example.org/");
// The texts before and after the number of minutes, until the user writes others.
inline const QString DefaultText1 = QStringLiteral("U počítače už sedíte déle jak");
inline const QString DefaultText2 = QStringLiteral("Doporučuji práci odložit a protáhnout se.");
// A warning's message as its window is designed, before the settings give it its own.
inline const QString DesignedWarning = DefaultText1 + QStringLiteral(" 60 minut. ") + DefaultText2;

// MessageText1, " ", the interval, " minut. ", MessageText2: nothing trimmed or added.
QString ComposeWarning(const ReminderState& state, const NumberFormat& format);
// "Zobrazit výstražné okno jednou za " + the interval + " minut."
QString ComposeSummary(const ReminderState& state, const NumberFormat& format);
// A single-precision number with at most 7 significant digits and the locale's
// decimal separator; whole numbers without one; exponent form ("1E+10") when
// the number needs more digits than that.
QString FormatSingle(float value, const NumberFormat& format);

} // namespace Messages
