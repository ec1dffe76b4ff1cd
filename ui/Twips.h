#pragma once

#include <QRect>

// Window and control geometry is kept in twips, as the layouts give it; this is the one
// place where it becomes Qt's logical pixels (15 twips to the pixel at 96 dots per inch;
// Qt scales logical pixels on high-density screens).
namespace Twips {

constexpr int TwipsPerPixel = 15;

constexpr int toPixels(int twips) {
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

constexpr QRect rect(int left, int top, int width, int height) {
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
