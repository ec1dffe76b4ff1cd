#pragma once

#include <QString>

// What the user's locale says of numbers: the decimal separator and the separator of digit
// groups, each a character or several (the C locale's by default). The platform reads them.
struct NumberFormat {
    QString decimalPoint = QStringLiteral(".");
    QString groupSeparator = QStringLiteral(",");
};
