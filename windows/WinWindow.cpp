#include "windows/WinWindow.h"

#include "windows/WinCheckBox.h"
#include "windows/WinCommandButton.h"
#include "windows/WinConvert.h"
#include "windows/WinHScrollBar.h"
#include "windows/WinLabel.h"
#include "windows/WinLine.h"
#include "windows/WinPicture.h"
#include "windows/WinRuntime.h"
#include "windows/WinText.h"
#include "windows/WinTextBox.h"
#include "windows/WinTimer.h"

#include <commctrl.h>

namespace {

DWORD styleOf(const WindowStyle& style) {
    // A title bar without a system menu: no close, minimise or maximise box.
    return WS_POPUP | WS_CLIPCHILDREN | (style.titleBar ? WS_CAPTION : 0);
}

DWORD extendedStyleOf(const WindowStyle& style) {
    DWORD extended = WS_EX_CONTROLPARENT;
    if (!style.titleBar)
        extended |= WS_EX_TOOLWINDOW; // never in the task bar or the switcher
    if (style.onTop)
        extended |= WS_EX_TOPMOST;
    if (!style.takesKeyboard)
        extended |= WS_EX_NOACTIVATE;
    return extended;
}

} // namespace

WinWindow::WinWindow(WinRuntime& runtime, const WindowStyle& style)
    : runtime_(runtime), style_(style) {
    hwnd_ = CreateWindowExW(extendedStyleOf(style), WinRuntime::FormClass, L"", styleOf(style), 0,
                            0, 0, 0, style.titleBar ? runtime.owner() : nullptr, nullptr,
                            runtime.instance(), this);
    if (style.titleBar) {
        placeAsNew();
        runtime.giveIcon(hwnd_);
    }
    dpi_ = GetDpiForWindow(hwnd_);
    if (dpi_ == 0)
        dpi_ = 96;
}

WinWindow::~WinWindow() {
    // Nothing of the window's going reaches this object any more.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    timers_.clear();
    release();
    DestroyWindow(hwnd_);
    if (destroyed_)
        *destroyed_ = true;
}

HINSTANCE WinWindow::instance() const {
    return runtime_.instance();
}

HFONT WinWindow::font() const {
    return runtime_.gdi().font(Font{}, dpi_);
}

HFONT WinWindow::font(const Font& font) const {
    return runtime_.gdi().font(font, dpi_);
}

template <typename T> T* WinWindow::adopt(std::unique_ptr<T> control) {
    T* made = control.get();
    children_.push_back(std::move(control));
    return made;
}

Label* WinWindow::addLabel(std::u16string_view caption, const TwipsRect& box) {
    auto* label = adopt(std::make_unique<WinLabel>(*this, caption));
    label->setGeometry(box);
    return label;
}

CommandButton* WinWindow::addCommandButton(std::u16string_view caption, const TwipsRect& box) {
    const WinRuntime::ControlsLook look(runtime_);
    auto* button = adopt(std::make_unique<WinCommandButton>(*this, caption));
    button->setGeometry(box);
    return button;
}

TextBox* WinWindow::addTextBox(std::u16string_view text, const TwipsRect& box) {
    const WinRuntime::ControlsLook look(runtime_);
    auto* textBox = adopt(std::make_unique<WinTextBox>(*this, text));
    textBox->setGeometry(box);
    return textBox;
}

CheckBox* WinWindow::addCheckBox(std::u16string_view caption, const TwipsRect& box) {
    const WinRuntime::ControlsLook look(runtime_);
    auto* check = adopt(std::make_unique<WinCheckBox>(*this, caption));
    check->setGeometry(box);
    return check;
}

HScrollBar* WinWindow::addHScrollBar(const TwipsRect& box) {
    const WinRuntime::ControlsLook look(runtime_);
    auto* bar = adopt(std::make_unique<WinHScrollBar>(*this));
    bar->setGeometry(box);
    return bar;
}

Picture* WinWindow::makeWarningPicture(int left, int top) {
    return adopt(std::make_unique<WinPicture>(*this, left, top));
}

Line* WinWindow::makeLine(int left, int right, int y, Colour colour) {
    return adopt(std::make_unique<WinLine>(*this, left, right, y, colour));
}

Timer* WinWindow::addTimer(int milliseconds) {
    timers_.push_back(std::make_unique<WinTimer>(*this, hwnd_, nextControlId(), milliseconds));
    return timers_.back().get();
}

void WinWindow::setCaption(std::u16string_view caption) {
    SetWindowTextW(hwnd_, wide(caption).c_str());
}

std::u16string WinWindow::caption() const {
    std::wstring caption(std::size_t(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    caption.resize(std::size_t(GetWindowTextW(hwnd_, caption.data(), int(caption.size()))));
    return text(caption);
}

void WinWindow::place(const RECT& outer) {
    SetWindowPos(hwnd_, nullptr, outer.left, outer.top, outer.right - outer.left,
                 outer.bottom - outer.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinWindow::placeAsNew() {
    // The system places only an overlapped window, and a popup window is none: one is made for
    // the question, never shown.
    const HWND asked = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT, 0, 0, 0,
                                       nullptr, nullptr, runtime_.instance(), nullptr);
    RECT place{};
    if (asked && GetWindowRect(asked, &place))
        SetWindowPos(hwnd_, nullptr, place.left, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (asked)
        DestroyWindow(asked);
}

void WinWindow::setGeometry(const TwipsRect& box) {
    client_.reset();
    // The screens' twips are the monitors' own pixels (see WinRuntime::primaryScreen).
    RECT wanted = WinConvert::pixels(box, style_.fullScreen ? 96 : dpi_);
    if (style_.fullScreen) {
        // The whole monitor the box is on, to the pixel, whatever its DPI made of the twips.
        const POINT centre{(wanted.left + wanted.right) / 2, (wanted.top + wanted.bottom) / 2};
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), &info))
            wanted = info.rcMonitor;
    }
    place(wanted);
    // Moved to a monitor of another DPI: its size in twips is made again at that DPI.
    if (const unsigned dpi = GetDpiForWindow(hwnd_); dpi && dpi != dpi_ && !style_.fullScreen)
        relayout(dpi, nullptr);
}

void WinWindow::setSize(int width, int height) {
    client_ = SIZE{width, height};
    RECT outer{0, 0, WinConvert::pixels(width, dpi_), WinConvert::pixels(height, dpi_)};
    AdjustWindowRectExForDpi(&outer, DWORD(GetWindowLongW(hwnd_, GWL_STYLE)), FALSE,
                             DWORD(GetWindowLongW(hwnd_, GWL_EXSTYLE)), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

TwipsRect WinWindow::geometry() const {
    RECT outer{};
    GetWindowRect(hwnd_, &outer);
    return WinConvert::twips(outer, dpi_);
}

void WinWindow::setBackColour(Colour colour) {
    back_ = colour;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH WinWindow::background() const {
    return back_ ? runtime_.gdi().brush(*back_) : GetSysColorBrush(COLOR_BTNFACE);
}

void WinWindow::setAccessibleName(std::u16string_view name) {
    setAccessibleName(hwnd_, name);
}

void WinWindow::setAccessibleName(HWND control, std::u16string_view name) {
    runtime_.setAccessibleName(control, name);
}

void WinWindow::placeInTabOrder(Control* previous, Control& next) {
    // The dialog manager visits the controls in their z-order.
    const HWND after = previous ? dynamic_cast<WinChild*>(previous)->hwnd() : HWND_TOP;
    SetWindowPos(dynamic_cast<WinChild&>(next).hwnd(), after, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Control* WinWindow::focusedControl() const {
    return dynamic_cast<Control*>(child(GetFocus()));
}

void WinWindow::setToolTip(const WinChild& control, std::u16string_view tip) {
    if (!tips_) {
        const WinRuntime::ControlsLook look(runtime_);
        tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                runtime_.instance(), nullptr);
        SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, WinConvert::pixels(6000, dpi_));
    }
    std::wstring text = wide(tip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.lpszText = text.data();
    if (dynamic_cast<const WinLabel*>(&control)) {
        // The mouse goes through a label to the window: the tip is of the label's place.
        tool.uFlags = TTF_SUBCLASS;
        tool.uId = UINT_PTR(control.id());
        GetWindowRect(control.hwnd(), &tool.rect);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&tool.rect), 2);
    } else {
        tool.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(control.hwnd());
    }
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void WinWindow::applyFonts() {
    for (const auto& control : children_)
        if (control->showsText() && (GetWindowLongW(control->hwnd(), GWL_STYLE) & WS_VISIBLE))
            control->useFont();
}

void WinWindow::show() {
    applyFonts();
    ShowWindow(hwnd_, style_.takesKeyboard ? SW_SHOW : SW_SHOWNOACTIVATE);
}

void WinWindow::showAsWarning() {
    applyFonts();
    // One the user gives the keyboard to with a click is kept only from being activated as it
    // appears (SWP_NOACTIVATE): the desktop then lets a click activate it.
    if (MouseDown)
        SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
    shownAt_ = GetTickCount64();
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

namespace {

// The program's windows that take input, but for one.
struct Others {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK collectEnabled(HWND window, LPARAM others) {
    auto* list = reinterpret_cast<Others*>(others);
    if (window != list->except && IsWindowEnabled(window) && IsWindowVisible(window))
        list->found.push_back(window);
    return TRUE;
}

} // namespace

void WinWindow::showModal() {
    Others others{hwnd_, {}};
    EnumThreadWindows(GetCurrentThreadId(), collectEnabled, reinterpret_cast<LPARAM>(&others));
    held_ = others.found;
    before_ = GetActiveWindow();
    for (HWND window : held_)
        EnableWindow(window, FALSE);
    applyFonts();
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    bool destroyed = false;
    destroyed_ = &destroyed;
    runtime_.runUntil(destroyed);
    if (!destroyed) { // the program is ending
        destroyed_ = nullptr;
        release();
    }
}

void WinWindow::release() {
    // Before this window hides: the keyboard then goes back to the window the user had, and
    // not to another program's.
    for (HWND window : std::exchange(held_, {}))
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    if (before_ && IsWindow(before_) && IsWindowVisible(before_))
        SetActiveWindow(std::exchange(before_, nullptr));
}

bool WinWindow::isVisible() const {
    return IsWindowVisible(hwnd_);
}

void WinWindow::takeKeyboard() {
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
    // The user has just clicked into it, so the system lets it come to the foreground.
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
}

void WinWindow::hideAndDestroyLater() {
    release();
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageW(hwnd_, DestroyMessage, 0, 0);
}

void WinWindow::focus(HWND control) {
    focus_ = control;
    if (GetActiveWindow() == hwnd_)
        SetFocus(control);
}

void WinWindow::relayout(unsigned dpi, const RECT* suggested) {
    dpi_ = dpi;
    for (const auto& control : children_)
        control->relayout();
    if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (client_)
        setSize(client_->cx, client_->cy);
}
