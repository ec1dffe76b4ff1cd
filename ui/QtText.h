#pragma once

#include <QString>

#include <string>
#include <string_view>

// The program's text (UTF-16, of the standard library) in and out of Qt's widgets.
inline QString qt(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}
inline std::u16string text(const QString& text) {
    return text.toStdU16String();
}
