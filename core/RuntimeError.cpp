#include "core/RuntimeError.h"

#include <utility>

RuntimeError::RuntimeError(int number, QString value, QString origin)
    : number_(number), value_(std::move(value)), origin_(std::move(origin)) {}

QString RuntimeError::userMessage() const {
    QString what;
    switch (number_) {
    case TypeMismatch:
        what = QStringLiteral("Neshoda typů: hodnotu „%1“ nelze převést na číslo.").arg(value_);
        break;
    case Overflow:
        what = QStringLiteral("Přetečení: číslo „%1“ je mimo povolený rozsah.").arg(value_);
        break;
    default:
        what = QStringLiteral("Neplatná hodnota „%1“.").arg(value_);
        break;
    }
    QString text = QStringLiteral("Chyba za běhu programu číslo %1.\n%2").arg(number_).arg(what);
    if (!origin_.isEmpty())
        text += QLatin1Char('\n') + origin_;
    text += QStringLiteral("\n\nProgram bude ukončen.");
    return text;
}
