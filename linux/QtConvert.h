#pragma once

#include "ui/Appearance.h"
#include "ui/Twips.h"

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>

#include <string>
#include <string_view>

// The program's text (UTF-16, of the standard library), geometry (twips) and colours in and
// out of Qt. Qt's logical pixels are those of 96 dots per inch; Qt scales them on
// high-density screens.
inline QString qt(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}
inline std::u16string text(const QString& text) {
    return text.toStdU16String();
}

inline QRect pixels(const TwipsRect& box) {
    return QRect(Twips::toPixels(box.left), Twips::toPixels(box.top), Twips::toPixels(box.width),
                 Twips::toPixels(box.height));
}
inline TwipsRect twips(const QRect& box) {
    return {Twips::fromPixels(box.x()), Twips::fromPixels(box.y()), Twips::fromPixels(box.width()),
            Twips::fromPixels(box.height())};
}

inline QColor qtColour(Colour colour, const QPalette& desktop) {
    if (const std::optional<Rgb> rgb = fixedRgb(colour))
        return QColor(rgb->red, rgb->green, rgb->blue);
    return desktop.color(colour == Colour::ButtonShadow ? QPalette::Dark : QPalette::WindowText);
}
