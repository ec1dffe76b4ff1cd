#include "windows/WinLabel.h"

#include "windows/WinConvert.h"
#include "windows/WinRuntime.h"
#include "windows/WinText.h"

namespace {

constexpr DWORD Wrapping = SS_LEFT | SS_NOPREFIX;
constexpr DWORD OneLine = SS_LEFTNOWORDWRAP | SS_NOPREFIX;

} // namespace

WinLabel::WinLabel(WinWindow& window, std::u16string_view caption)
    : WinControl(window, L"STATIC", OneLine, caption), caption_(caption) {}

void WinLabel::setCaption(std::u16string_view caption) {
    caption_ = caption;
    SetWindowTextW(hwnd_, wide(caption).c_str());
    if (autoSize_)
        fitText();
}

void WinLabel::setWordWrap(bool wrap) {
    wrap_ = wrap;
    const LONG style = GetWindowLongW(hwnd_, GWL_STYLE) & ~LONG(SS_TYPEMASK | SS_NOPREFIX);
    SetWindowLongW(hwnd_, GWL_STYLE, style | LONG(wrap ? Wrapping : OneLine));
    redraw();
}

void WinLabel::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize_)
        fitText();
}

void WinLabel::setFont(const Font& font) {
    font_ = font;
    if (fontInUse_)
        useFont();
    if (autoSize_)
        fitText();
}

void WinLabel::clicked() {
    userClicked();
}

HBRUSH WinLabel::colours(HDC dc) {
    SetTextColor(dc, WinConvert::colour(fore_.value_or(Colour::WindowText)));
    if (!back_)
        return nullptr; // the window's own background shows through
    SetBkColor(dc, WinConvert::colour(*back_));
    return *back_ == Colour::ButtonShadow ? GetSysColorBrush(COLOR_BTNSHADOW)
                                          : window_.runtime().gdi().brush(*back_);
}

HCURSOR WinLabel::cursor() const {
    return pointer_ == MousePointer::WhatsThis ? LoadCursorW(nullptr, IDC_HELP) : nullptr;
}

HFONT WinLabel::font() const {
    return font_ ? window_.font(*font_) : window_.font();
}

void WinLabel::relayout() {
    WinChild::relayout();
    if (autoSize_)
        fitText();
}

void WinLabel::redraw() {
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void WinLabel::fitText() {
    useFont(); // measured in it
    HDC dc = GetDC(hwnd_);
    const auto old = SelectObject(dc, HGDIOBJ(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    const std::wstring text = wide(caption_);
    RECT r{0, 0, WinConvert::pixels(box_.width, window_.dpi()), 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_LEFT | DT_EXPANDTABS | (wrap_ ? DT_WORDBREAK : 0));
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    // A pixel more: a glyph's overhang (a smoothed edge, an italic's slant) is drawn
    // beyond the advance the measure gives, and the control clips at its edge.
    const unsigned dpi = window_.dpi();
    const int slack = MulDiv(1, int(dpi), 96);
    place({box_.left, box_.top, WinConvert::twips(r.right + slack, dpi),
           WinConvert::twips(r.bottom, dpi)});
}
