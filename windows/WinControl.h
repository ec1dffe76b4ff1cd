#pragma once

#include "windows/WinChild.h"
#include "windows/WinWindow.h"

#include <utility>

// A control of the forms as a native control: `Interface` what the forms see of it.
template <typename Interface> class WinControl : public Interface, public WinChild {
  public:
    template <typename... Native>
    explicit WinControl(WinWindow& window, Native&&... native)
        : Interface(window), WinChild(window, std::forward<Native>(native)...) {}

    void setGeometry(const TwipsRect& box) override { place(box); }
    TwipsRect geometry() const override { return box_; }
    void setVisible(bool visible) override {
        if (visible && showsText() && !fontInUse_)
            useFont();
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    }
    bool isVisible() const override { return GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE; }
    void setToolTip(std::u16string_view tip) override { window_.setToolTip(*this, tip); }
    void setAccessibleName(std::u16string_view name) override {
        window_.setAccessibleName(hwnd_, name);
    }
    void setFocus() override { window_.focus(hwnd_); }
};
