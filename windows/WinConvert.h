#pragma once

#include "ui/Appearance.h"
#include "ui/Twips.h"

#include <windows.h>

// Geometry and colours of the forms in the Win32 API's terms. Pixels are the screen's own:
// the program is aware of each monitor's DPI, so twips become pixels at the DPI of the
// monitor the window is on (15 twips a pixel at 96 DPI).
namespace WinConvert {

// Twips as pixels at `dpi`, to the nearest pixel (halves away from zero).
inline int pixels(int twips, unsigned dpi) {
    return MulDiv(twips, int(dpi), 1440);
}
inline int twips(int pixels, unsigned dpi) {
    return MulDiv(pixels, 1440, int(dpi));
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
    switch (colour) {
    case Colour::WindowText:
        return GetSysColor(COLOR_WINDOWTEXT);
    case Colour::ButtonShadow:
        return GetSysColor(COLOR_BTNSHADOW);
    case Colour::Black:
        return RGB(0, 0, 0);
    case Colour::White:
        return RGB(255, 255, 255);
    case Colour::Grey:
        return RGB(128, 128, 128);
    case Colour::LightGrey:
        return RGB(224, 224, 224);
    }
    return RGB(0, 0, 0);
}

} // namespace WinConvert
