#pragma once

#include "ui/Appearance.h"
#include "ui/Twips.h"

#include <windows.h>

// Geometry and colours of the forms in the Win32 API's terms. Pixels are the screen's own:
// the program is aware of each monitor's DPI, so twips become pixels at the DPI of the
// monitor the window is on (15 twips a pixel at 96 DPI).
namespace WinConvert {

inline int pixels(int twips, unsigned dpi) {
    return Twips::toPixels(twips, int(dpi));
}
inline int twips(int pixels, unsigned dpi) {
    return Twips::fromPixels(pixels, int(dpi));
}
inline RECT pixels(const TwipsRect& box, unsigned dpi) {
    const int left = pixels(box.left, dpi);
    const int top = pixels(box.top, dpi);
    return {left, top, left + pixels(box.width, dpi), top + pixels(box.height, dpi)};
}
inline TwipsRect twips(const RECT& box, unsigned dpi) {
    return {twips(box.left, dpi), twips(box.top, dpi), twips(box.right - box.left, dpi),
            twips(box.bottom - box.top, dpi)};
}

inline COLORREF colour(Colour colour) {
    if (const std::optional<Rgb> rgb = fixedRgb(colour))
        return RGB(rgb->red, rgb->green, rgb->blue);
    return GetSysColor(colour == Colour::ButtonShadow ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
}

} // namespace WinConvert
