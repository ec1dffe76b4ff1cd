#pragma once

#include <QStringEncoder>

// Text as a settings file in the Central European code page holds it.
inline QByteArray cp1250(const QString& text) {
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}
