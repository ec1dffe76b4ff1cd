#include "core/RuntimeError.h"

#include "core/Text.h"

#include <utility>

RuntimeError::RuntimeError(int number, std::u16string value, std::u16string origin)
    : number_(number), value_(std::move(value)), origin_(std::move(origin)) {}

std::u16string RuntimeError::userMessage() const {
    std::u16string what;
    switch (number_) {
    case TypeMismatch:
        what = Text::arg(u"Neshoda typů: hodnotu „%1“ nelze převést na číslo.", {value_});
        break;
    case Overflow:
        what = Text::arg(u"Přetečení: číslo „%1“ je mimo povolený rozsah.", {value_});
        break;
    default:
        what = Text::arg(u"Neplatná hodnota „%1“.", {value_});
        break;
    }
    std::u16string text =
        Text::arg(u"Chyba za běhu programu číslo %1.\n%2", {Text::integer(number_), what});
    if (!origin_.empty())
        text += u'\n' + origin_;
    text += u"\n\nProgram bude ukončen.";
    return text;
}
