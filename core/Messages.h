#pragma once

#include "core/NumberFormat.h"

#include <string>
#include <string_view>

class ReminderState;

// The texts put together from the reminder state: the warning and the interval summary.
namespace Messages {

// The maker's web page: named in the missing-file message and opened by the settings
// dialog's link.
inline constexpr std::u16string_view MakerAddress = u"https://vestrel.example.org/";
// The texts before and after the number of minutes, until the user writes others.
inline constexpr std::u16string_view DefaultText1 = u"U počítače už sedíte déle jak";
inline constexpr std::u16string_view DefaultText2 = u"Doporučuji práci odložit a protáhnout se.";
// What a second Vestrel started from the same folder says before it ends.
inline constexpr std::u16string_view AlreadyRunning =
    u"Vestrel už běží. Druhá kopie programu se ukončí.";

// The report of a chime that could not be played, with its reason below.
inline constexpr std::u16string_view SoundFailed = u"Zvuk varování nelze přehrát.\n";
inline constexpr std::u16string_view SoundFailedTitle = u"Zvuk";

// A warning's message as its window is designed, before the settings give it its own.
std::u16string DesignedWarning();
// MessageText1, " ", the interval, " minut. ", MessageText2: nothing trimmed or added.
std::u16string ComposeWarning(const ReminderState& state, const NumberFormat& format);
// "Zobrazit výstražné okno jednou za " + the interval + " minut."
std::u16string ComposeSummary(const ReminderState& state, const NumberFormat& format);
// A single-precision number with at most 7 significant digits and the locale's
// decimal separator; whole numbers without one; exponent form ("1E+10") when
// the number needs more digits than that.
std::u16string FormatSingle(float value, const NumberFormat& format);

} // namespace Messages
