#include "windows/WinGdi.h"

#include "windows/WinConvert.h"

#include <cmath>
#include <cwchar>

WinGdi::~WinGdi() {
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [colour, brush] : brushes_)
        DeleteObject(brush);
}

HFONT WinGdi::font(const Font& font, unsigned dpi) {
    const std::pair key{int(std::lround(font.points * 100)) * 2 + int(font.bold), dpi};
    HFONT& made = fonts_[key];
    if (!made) {
        LOGFONTW face{};
        face.lfHeight = -font.pixels(dpi);
        face.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
        face.lfCharSet = DEFAULT_CHARSET;
        face.lfQuality = CLEARTYPE_QUALITY;
        std::wcscpy(face.lfFaceName, L"Arial");
        made = CreateFontIndirectW(&face);
    }
    return made;
}

HBRUSH WinGdi::brush(Colour colour) {
    HBRUSH& made = brushes_[colour];
    if (!made)
        made = CreateSolidBrush(WinConvert::colour(colour));
    return made;
}
