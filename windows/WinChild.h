#pragma once

#include "ui/Twips.h"

#include <windows.h>

#include <string>
#include <string_view>

class WinWindow;

// A native control on a form's window: its window, its place in twips, and the messages its
// window passes on to it. Destroyed with its window.
class WinChild {
  public:
    WinChild(WinWindow& window, const wchar_t* className, DWORD style, std::u16string_view text,
             DWORD extendedStyle = 0);
    virtual ~WinChild() = default;
    WinChild(const WinChild&) = delete;
    WinChild& operator=(const WinChild&) = delete;

    HWND hwnd() const { return hwnd_; }
    int id() const { return id_; }
    const TwipsRect& box() const { return box_; }

    // The control's notification (WM_COMMAND's code) came.
    virtual void notified(int) {}
    // A scroll bar's request (WM_HSCROLL's code and the thumb's place).
    virtual void scrolled(int, int) {}
    // The left button was pressed and released on it (a label, which the mouse goes through).
    virtual void clicked() {}
    // The brush to paint its background with (WM_CTLCOLOR...), or none for the default.
    virtual HBRUSH colours(HDC) { return nullptr; }
    // The cursor over it, or none for the default.
    virtual HCURSOR cursor() const { return nullptr; }
    // Places it and sets its font afresh, as at a new DPI.
    virtual void relayout();
    // Whether it shows text (and so needs a font).
    virtual bool showsText() const { return true; }
    // Gives it its font, now and at every relayout. Fonts are made when first needed: starting
    // the system's fonts takes tens of milliseconds, which a window without text never pays.
    void useFont();

  protected:
    void place(const TwipsRect& box);
    // Its face: the window's own, unless it has one of its own.
    virtual HFONT font() const;

    WinWindow& window_;
    HWND hwnd_ = nullptr;
    TwipsRect box_;
    bool fontInUse_ = false;

  private:
    int id_;
};
