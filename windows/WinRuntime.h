#pragma once

#include "ui/Runtime.h"
#include "windows/WinGdi.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <utility>

// The control runtime on the Win32 API: the forms' windows as native windows of a dialog
// class of ours (so that Tab, Enter, Escape and the default button work as in any dialog),
// message boxes, the monitors, the message loop. A hidden window of its own owns every form
// window with a title bar (an owned window has no task-bar entry; one without a title bar is
// a tool window, which has none either) and hears what the system says to the program as a
// whole: the session ending, the session locked, work posted for later. It is made once the
// first window is up: a second window before the first map would hold that map up.
struct IAccPropServices;

class WinRuntime final : public Runtime {
  public:
    explicit WinRuntime(HINSTANCE instance);
    ~WinRuntime() override;
    WinRuntime(const WinRuntime&) = delete;
    WinRuntime& operator=(const WinRuntime&) = delete;

    std::unique_ptr<Window> createWindow(const WindowStyle& style) override;
    MessageBoxAnswer messageBox(std::u16string_view text, MessageBoxStyle style,
                                std::u16string_view title) override;
    // A message box of no window, in the lower quarter of the screen, clear of the warning.
    std::unique_ptr<Report> report(std::u16string_view text, std::u16string_view title) override;
    [[noreturn]] void end(int status) override;
    // The screens in twips of their own pixels, 15 a pixel whatever their scale.
    TwipsRect primaryScreen() override;
    std::vector<TwipsRect> otherScreens() override;

    int run() override;
    // Runs the message loop until `done` is true (a modal window destroyed).
    void runUntil(const bool& done);
    // Runs `last` when the program ends, before anything else goes (one: a later call's
    // replaces it).
    void beforeEnd(std::function<void()> last) { beforeEnd_ = std::move(last); }
    // Runs `work` from the message loop, once the event at hand is over.
    void later(std::function<void()> work);
    // Calls `heard` whenever the hidden window receives `message`.
    void listen(UINT message, std::function<void(WPARAM, LPARAM)> heard);

    HINSTANCE instance() const { return instance_; }
    // The hidden window, made at the first call.
    HWND owner();
    // Gives a window with a title bar the program's icon, which the window switcher shows;
    // loaded with the first such window.
    void giveIcon(HWND window);
    // The fonts and brushes the windows draw with.
    WinGdi& gdi() { return gdi_; }
    // Starts COM on this thread, once, for what needs it (the shell, accessibility).
    void useCom();
    // The name screen readers say for a window or control, where it is not its text.
    void setAccessibleName(HWND window, std::u16string_view name);

    // While it lives, the windows made take the common controls' current look (version 6),
    // loaded with the first: what a bare window (the square) never needs.
    class ControlsLook {
      public:
        explicit ControlsLook(WinRuntime& runtime);
        ~ControlsLook();
        ControlsLook(const ControlsLook&) = delete;
        ControlsLook& operator=(const ControlsLook&) = delete;

      private:
        ULONG_PTR cookie_ = 0;
        bool active_ = false;
    };

    // The class of the forms' windows.
    static constexpr const wchar_t* FormClass = L"VestrelForm";

  private:
    static LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    // Gives a message to the dialog manager of its window where it is one of ours.
    static bool isDialogMessage(MSG& message);
    // While a report waits for its "OK", the forms' keys (Tab, Enter, Escape) still go to the
    // dialog manager: the report's own message loop asks this hook first.
    static LRESULT CALLBACK formKeys(int code, WPARAM w, LPARAM l);
    // While a question waits, Escape answers nothing, as on every platform.
    static LRESULT CALLBACK questionKeys(int code, WPARAM w, LPARAM l);

    HINSTANCE instance_;
    HWND owner_ = nullptr;
    std::map<UINT, std::function<void(WPARAM, LPARAM)>> listeners_;
    std::deque<std::function<void()>> pending_; // what later() was given, in order
    std::function<void()> beforeEnd_;
    WinGdi gdi_;
    IAccPropServices* accessibility_ = nullptr; // made at the first name given
    HANDLE controls_ = nullptr; // the controls' activation context, made at the first control
    HICON icon_ = nullptr;      // see giveIcon
    bool comStarted_ = false;
};
