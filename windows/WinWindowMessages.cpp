// What a form's window makes of the messages the system sends it: painting, the controls'
// notifications, the mouse, activation, close requests, and screens and scales that change.
#include "windows/WinWindow.h"

#include "ui/CommandButton.h"
#include "windows/WinChild.h"
#include "windows/WinTimer.h"

#include <windowsx.h>

#include <utility>

bool WinWindow::clickedInto(int hit) const {
    // A click leaves the keyboard where it is, unless the form takes it at a click (a
    // warning). Wine asks this too when the desktop offers it the keyboard, as it does for
    // a click, but also as a window appears or another one goes: an offer is a click when
    // the pointer is on the window, not just as it appears.
    if (!MouseDown)
        return false;
    if (hit == HTCLIENT)
        return true;
    POINT pointer{};
    RECT outer{};
    GetCursorPos(&pointer);
    GetWindowRect(hwnd_, &outer);
    return PtInRect(&outer, pointer) && GetTickCount64() - shownAt_ >= ReactionMilliseconds;
}

WinChild* WinWindow::child(HWND control) const {
    for (const auto& c : children_)
        if (control && c->hwnd() == control)
            return c.get();
    return nullptr;
}

WinChild* WinWindow::childAt(POINT client) const {
    return child(ChildWindowFromPointEx(hwnd_, client, CWP_SKIPINVISIBLE));
}

LRESULT CALLBACK WinWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* made = static_cast<WinWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        made->hwnd_ = window; // before CreateWindowExW returns it
        SetWindowLongPtrW(window, GWLP_USERDATA, LONG_PTR(made));
    }
    auto* self = reinterpret_cast<WinWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    if (message == DestroyMessage && self->isGone()) {
        delete self; // released by its form, which let it go
        return 0;
    }
    return self->handle(message, w, l);
}

LRESULT WinWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(w), &client, background());
        return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const auto dc = reinterpret_cast<HDC>(w);
        if (WinChild* control = child(reinterpret_cast<HWND>(l)))
            if (HBRUSH own = control->colours(dc))
                return reinterpret_cast<LRESULT>(own);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(background());
    }
    case WM_COMMAND:
        if (WinChild* control = child(reinterpret_cast<HWND>(l)))
            control->notified(HIWORD(w));
        else if (LOWORD(w) == IDCANCEL)
            keyPressed(Key::Escape);
        return 0;
    case DM_GETDEFID: {
        // The button the dialog manager presses for Enter.
        const CommandButton* pressed = buttonForEnter();
        return pressed ? MAKELRESULT(dynamic_cast<const WinChild*>(pressed)->id(), DC_HASDEFID) : 0;
    }
    case WM_HSCROLL:
        if (WinChild* control = child(reinterpret_cast<HWND>(l)))
            control->scrolled(LOWORD(w), HIWORD(w));
        return 0;
    case WM_TIMER:
        for (const auto& timer : timers_)
            if (UINT_PTR(timer->id()) == w)
                timer->elapsed();
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(hwnd_);
        fire(MouseDown);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        fire(MouseDown);
        return 0;
    case WM_LBUTTONUP: {
        if (!std::exchange(pressed_, false))
            return 0;
        ReleaseCapture();
        const POINT at{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        RECT client{};
        GetClientRect(hwnd_, &client);
        if (!PtInRect(&client, at))
            return 0;
        if (WinChild* control = childAt(at))
            control->clicked();
        else
            fire(Click);
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(w) == hwnd_ && LOWORD(l) == HTCLIENT) {
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(hwnd_, &at);
            if (WinChild* control = childAt(at))
                if (HCURSOR cursor = control->cursor()) {
                    SetCursor(cursor);
                    return TRUE;
                }
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            if (HWND focused = GetFocus(); focused && IsChild(hwnd_, focused))
                focus_ = focused;
        } else if (focus_ && IsWindow(focus_)) {
            SetFocus(focus_);
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (!style_.takesKeyboard && !clickedInto(LOWORD(l)))
            return MA_NOACTIVATE;
        break;
    case WM_CLOSE:
        fire(QueryUnload);
        return 0;
    case WM_SYSCOMMAND:
        // None of these windows is minimised or maximised (the desktop's "show desktop" asks).
        if ((w & 0xFFF0) == SC_MINIMIZE || (w & 0xFFF0) == SC_MAXIMIZE)
            return 0;
        break;
    case WM_DISPLAYCHANGE:
        fire(ScreensChanged);
        break;
    case WM_DPICHANGED:
        // A full-screen window keeps its monitor's rectangle, not one scaled from it.
        relayout(HIWORD(w), style_.fullScreen ? nullptr : reinterpret_cast<const RECT*>(l));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, message, w, l);
}
