#pragma once

#include "ui/Window.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class WinChild;
class WinRuntime;
class WinTimer;

// A form's window as a native top-level window: with a title bar, owned by the runtime's
// hidden window so that it has no task-bar entry; without one, a tool window. The dialog manager
// (IsDialogMessage) moves the focus with Tab and passes Enter and Escape on to the window's
// buttons. A window that takes no keyboard as it appears (WS_EX_NOACTIVATE) takes it when the form
// asks, at the user's click. A close request (Alt+F4) is only announced.
class WinWindow final : public Window {
  public:
    WinWindow(WinRuntime& runtime, const WindowStyle& style);
    ~WinWindow() override;
    WinWindow(const WinWindow&) = delete;
    WinWindow& operator=(const WinWindow&) = delete;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l);

    Label* addLabel(std::u16string_view caption, const TwipsRect& box) override;
    CommandButton* addCommandButton(std::u16string_view caption, const TwipsRect& box) override;
    TextBox* addTextBox(std::u16string_view text, const TwipsRect& box) override;
    CheckBox* addCheckBox(std::u16string_view caption, const TwipsRect& box) override;
    HScrollBar* addHScrollBar(const TwipsRect& box) override;
    Timer* addTimer(int milliseconds) override;

    void setCaption(std::u16string_view caption) override;
    std::u16string caption() const override;
    void setGeometry(const TwipsRect& box) override;
    void setSize(int width, int height) override;
    TwipsRect geometry() const override;
    void setBackColour(Colour colour) override;
    void setAccessibleName(std::u16string_view name) override;
    void show() override;
    void showAsWarning() override;
    void showModal() override;
    bool isVisible() const override;
    void takeKeyboard() override;

    // For its controls.
    HWND hwnd() const { return hwnd_; }
    HINSTANCE instance() const;
    unsigned dpi() const { return dpi_; }
    HFONT font() const; // the windows' own face at this window's DPI
    HFONT font(const Font& font) const;
    WinRuntime& runtime() const { return runtime_; }
    int nextControlId() { return nextId_++; }
    void setToolTip(const WinChild& control, std::u16string_view tip);
    void setAccessibleName(HWND control, std::u16string_view name);
    // Gives a control the focus now, when the window has the keyboard, or when it gets it.
    void focus(HWND control);

  protected:
    Picture* makeWarningPicture(int left, int top) override;
    Line* makeLine(int left, int right, int y, Colour colour) override;
    Control* focusedControl() const override;
    void placeInTabOrder(Control* previous, Control& next) override;
    void hideAndDestroyLater() override;

  private:
    // Posted to itself as it is let go: the window goes once the event at hand is over.
    static constexpr UINT DestroyMessage = WM_APP + 1;

    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    // Whether a click (or an offer of the keyboard) at that hit-test value activates it.
    bool clickedInto(int hit) const;
    WinChild* child(HWND control) const;
    WinChild* childAt(POINT client) const;
    HBRUSH background() const;
    void place(const RECT& outer);
    // Puts it where the system puts a new window (on Windows, the next step of its cascade).
    void placeAsNew();
    // Gives the visible controls with text their fonts, before the window first shows.
    void applyFonts();
    void relayout(unsigned dpi, const RECT* suggested);
    // Gives back the input of the windows a modal showing held, and the keyboard.
    void release();
    template <typename T> T* adopt(std::unique_ptr<T> control);

    WinRuntime& runtime_;
    const WindowStyle style_;
    HWND hwnd_ = nullptr;
    unsigned dpi_ = 96;
    int nextId_ = 100; // clear of IDOK and IDCANCEL, which the dialog manager sends
    std::vector<std::unique_ptr<WinChild>> children_;
    std::vector<std::unique_ptr<WinTimer>> timers_;
    std::optional<Colour> back_;
    std::optional<SIZE> client_; // in twips, when the form gave the client area's size
    HWND tips_ = nullptr;
    HWND focus_ = nullptr;      // the control to give the focus to when the keyboard comes
    std::uint64_t shownAt_ = 0; // GetTickCount64() at showAsWarning()
    bool pressed_ = false;      // the left button went down on the bare window
    bool* destroyed_ = nullptr; // set when the window goes (a modal loop waits for it)
    std::vector<HWND> held_;    // the windows a modal showing took the input from
    HWND before_ = nullptr;     // the window that was active before it
};
