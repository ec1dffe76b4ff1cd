#include "core/Messages.h"

#include "core/ReminderState.h"
#include "core/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Messages {

std::u16string DesignedWarning() {
    return std::u16string(DefaultText1) + u" 60 minut. " + std::u16string(DefaultText2);
}

std::u16string ComposeWarning(const ReminderState& state, const NumberFormat& format) {
    return state.MessageText1 + u' ' + FormatSingle(state.IntervalMinutes, format) + u" minut. " +
           state.MessageText2;
}

std::u16string ComposeSummary(const ReminderState& state, const NumberFormat& format) {
    return u"Zobrazit výstražné okno jednou za " + FormatSingle(state.IntervalMinutes, format) +
           u" minut.";
}

std::u16string FormatSingle(float value, const NumberFormat& format) {
    if (value == 0.0f || std::isnan(value))
        return u"0";
    // As %.7G writes it in the C locale (the C library's own locale would put its decimal
    // separator's bytes in): fixed notation for exponents -5..6, exponent form otherwise;
    // trailing zeros (and a bare decimal point) are dropped.
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                       std::chars_format::general, 7);
    std::string digits(buffer, written.ptr);
    std::transform(digits.begin(), digits.end(), digits.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    return Text::replaced(Text::ascii(digits), u".", format.decimalPoint);
}

} // namespace Messages
