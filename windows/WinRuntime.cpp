#include "windows/WinRuntime.h"

#include "windows/Resources.h"
#include "windows/SystemLibrary.h"
#include "windows/WinConvert.h"
#include "windows/WinText.h"
#include "windows/WinWindow.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>
#include <utility>

namespace {

constexpr UINT LaterMessage = WM_APP;
// The accessibility service's class, which the system's import libraries leave out.
constexpr CLSID AccPropServices = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr const wchar_t* OwnerClass = L"VestrelOwner";

// Where the box of the report being made is named; it goes where Report::place says.
thread_local HWND* reportBox = nullptr;

// The buttons of a message box in the program's language, whatever the system's: a hook of
// the thread that makes the box, for as long as it is being made, that hears the box's
// dialog done setting itself up (activation may not come: another program has the keyboard).
LRESULT CALLBACK czechButtons(int code, WPARAM w, LPARAM l) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(l);
    if (code == HC_ACTION && call->message == WM_INITDIALOG) {
        const HWND box = call->hwnd;
        SetDlgItemTextW(box, IDOK, wide(MessageBoxButtons::Ok).c_str());
        SetDlgItemTextW(box, IDYES, wide(MessageBoxButtons::Yes).c_str());
        SetDlgItemTextW(box, IDNO, wide(MessageBoxButtons::No).c_str());
        if (HWND* named = std::exchange(reportBox, nullptr)) {
            *named = box;
            // In the monitor's own pixels, 15 twips each (see primaryScreen).
            RECT r{};
            GetWindowRect(box, &r);
            MONITORINFO info{};
            info.cbSize = sizeof info;
            GetMonitorInfoW(MonitorFromWindow(box, MONITOR_DEFAULTTOPRIMARY), &info);
            const TwipsRect size = WinConvert::twips(r, 96);
            const RECT place = WinConvert::pixels(
                Report::place(WinConvert::twips(info.rcWork, 96), size.width, size.height), 96);
            SetWindowPos(box, nullptr, place.left, place.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    return CallNextHookEx(nullptr, code, w, l);
}

// A monitor's rectangle, its own pixels at 15 twips each: monitors of different scales sit
// side by side in pixels, and a full-screen window goes back to exactly those pixels.
TwipsRect twipsOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return WinConvert::twips(info.rcMonitor, 96);
}

BOOL CALLBACK collectOthers(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && !(info.dwFlags & MONITORINFOF_PRIMARY))
        reinterpret_cast<std::vector<TwipsRect>*>(list)->push_back(twipsOf(monitor));
    return TRUE;
}

} // namespace

WinRuntime::WinRuntime(HINSTANCE instance) : instance_(instance) {
    WNDCLASSEXW owner{};
    owner.cbSize = sizeof owner;
    owner.lpfnWndProc = ownerProcedure;
    owner.hInstance = instance;
    owner.lpszClassName = OwnerClass;
    RegisterClassExW(&owner);

    // A dialog's class of our own: the dialog manager's keys and default button, our painting.
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = WinWindow::procedure;
    form.cbWndExtra = DLGWINDOWEXTRA;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // No icon of the class: decoding it would hold up the square, which shows none (see
    // giveIcon).
    form.lpszClassName = FormClass;
    RegisterClassExW(&form);
}

HWND WinRuntime::owner() {
    if (!owner_)
        owner_ = CreateWindowExW(0, OwnerClass, L"Vestrel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 instance_, this);
    return owner_;
}

void WinRuntime::giveIcon(HWND window) {
    if (!icon_)
        icon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(Resources::AppIcon),
                                              IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    // The small icon is made from it where the system needs one: no title bar here shows it.
    SendMessageW(window, WM_SETICON, ICON_BIG, LPARAM(icon_));
}

WinRuntime::~WinRuntime() {
    if (owner_)
        DestroyWindow(owner_);
    if (icon_)
        DestroyIcon(icon_);
    if (controls_ && controls_ != INVALID_HANDLE_VALUE)
        ReleaseActCtx(controls_);
    if (accessibility_)
        accessibility_->Release();
}

WinRuntime::ControlsLook::ControlsLook(WinRuntime& runtime) {
    const bool first = !runtime.controls_;
    if (first) {
        // From the manifest in our own resources, which the module's path names.
        std::wstring path(32768, L'\0');
        path.resize(GetModuleFileNameW(runtime.instance_, path.data(), DWORD(path.size())));
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        context.lpSource = path.c_str();
        context.hModule = runtime.instance_;
        context.lpResourceName = MAKEINTRESOURCEW(Resources::ControlsManifest);
        runtime.controls_ = CreateActCtxW(&context);
    }
    active_ =
        runtime.controls_ != INVALID_HANDLE_VALUE && ActivateActCtx(runtime.controls_, &cookie_);
    // The classes the system does not make on its own: the tool tips'.
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    if (first)
        if (auto start = systemFunction<decltype(InitCommonControlsEx)>(L"comctl32.dll",
                                                                        "InitCommonControlsEx"))
            start(&classes);
}

WinRuntime::ControlsLook::~ControlsLook() {
    if (active_)
        DeactivateActCtx(0, cookie_);
}

std::unique_ptr<Window> WinRuntime::createWindow(const WindowStyle& style) {
    return std::make_unique<WinWindow>(*this, style);
}

namespace {

// A report's box, from its making until the user closes it.
struct ReportState {
    bool open = true;
    HWND box = nullptr;
};

// Brings a report's box above every window, once the event at hand is over.
void raiseLater(WinRuntime& runtime, const std::shared_ptr<ReportState>& state) {
    runtime.later([state] {
        if (state->box)
            SetWindowPos(state->box, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    });
}

class WinReport final : public Report {
  public:
    WinReport(WinRuntime& runtime, std::shared_ptr<ReportState> state)
        : runtime_(runtime), state_(std::move(state)) {}
    bool isOpen() const override { return state_->open; }
    void raise() override { raiseLater(runtime_, state_); }

  private:
    WinRuntime& runtime_;
    std::shared_ptr<ReportState> state_;
};

} // namespace

std::unique_ptr<Report> WinRuntime::report(std::u16string_view text, std::u16string_view title) {
    auto state = std::make_shared<ReportState>();
    later([this, state, text = wide(text), title = wide(title)] {
        // Of no window and holding none: the warning's buttons stay usable beside it, and it
        // does not take the keyboard from the program the user is typing in.
        const ControlsLook look(*this);
        const HHOOK hook =
            SetWindowsHookExW(WH_CALLWNDPROCRET, czechButtons, nullptr, GetCurrentThreadId());
        if (hook)
            reportBox = &state->box;
        // Raised once shown: a window manager may put a window that does not take the keyboard
        // below the others as it appears (openbox, under Wine).
        raiseLater(*this, state);
        const HHOOK keys = SetWindowsHookExW(WH_MSGFILTER, formKeys, nullptr, GetCurrentThreadId());
        MessageBoxW(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TOPMOST);
        if (keys)
            UnhookWindowsHookEx(keys);
        if (hook)
            UnhookWindowsHookEx(hook);
        reportBox = nullptr;
        *state = {false, nullptr};
    });
    return std::make_unique<WinReport>(*this, state);
}

MessageBoxAnswer WinRuntime::messageBox(std::u16string_view text, MessageBoxStyle style,
                                        std::u16string_view title) {
    // Over the window the user works in when it is ours (the dialog); over everything else,
    // with all our windows held, when none of ours is active (a warning, the start).
    HWND active = GetActiveWindow();
    if (active && !IsWindowVisible(active))
        active = nullptr;
    UINT flags =
        UINT(style) | MB_SETFOREGROUND | (active ? MB_APPLMODAL : MB_TASKMODAL | MB_TOPMOST);
    const ControlsLook look(*this);
    const bool question = style == MessageBoxStyle::YesNoExclamation;
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROCRET, czechButtons, nullptr, GetCurrentThreadId());
    const HHOOK keys =
        question ? SetWindowsHookExW(WH_MSGFILTER, questionKeys, nullptr, GetCurrentThreadId())
                 : nullptr;
    int answer = 0;
    do // a question ends with its buttons alone, whatever else ends a system's box, unless the
       // box cannot be shown at all
        answer = MessageBoxW(active, wide(text).c_str(), wide(title).c_str(), flags);
    while (question && answer != 0 && answer != IDYES && answer != IDNO);
    if (keys)
        UnhookWindowsHookEx(keys);
    if (hook)
        UnhookWindowsHookEx(hook);
    switch (answer) {
    case IDYES:
        return MessageBoxAnswer::Yes;
    case IDNO:
        return MessageBoxAnswer::No;
    default:
        return MessageBoxAnswer::Ok;
    }
}

void WinRuntime::end(int status) {
    // At once: no handler runs after this, no window gets a chance to write anything, and no
    // library is asked to shut down (the sound's, still playing a chime, could hold the end
    // up): what a killed process does, with its status, once what must go first has gone.
    if (beforeEnd_)
        std::exchange(beforeEnd_, nullptr)();
    std::fflush(nullptr);
    TerminateProcess(GetCurrentProcess(), UINT(status));
    ExitProcess(UINT(status)); // not reached
}

TwipsRect WinRuntime::primaryScreen() {
    return twipsOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

std::vector<TwipsRect> WinRuntime::otherScreens() {
    std::vector<TwipsRect> others;
    EnumDisplayMonitors(nullptr, nullptr, collectOthers, reinterpret_cast<LPARAM>(&others));
    return others;
}

bool WinRuntime::isDialogMessage(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    wchar_t name[32] = {};
    return root && GetClassNameW(root, name, 32) && std::wstring_view(name) == FormClass &&
           IsDialogMessageW(root, &message);
}

LRESULT CALLBACK WinRuntime::formKeys(int code, WPARAM w, LPARAM l) {
    if (code == MSGF_DIALOGBOX && isDialogMessage(*reinterpret_cast<MSG*>(l)))
        return TRUE;
    return CallNextHookEx(nullptr, code, w, l);
}

LRESULT CALLBACK WinRuntime::questionKeys(int code, WPARAM w, LPARAM l) {
    // Windows' own Yes/No box ignores Escape; Wine's takes it for a "Cancel" it does not show.
    const MSG& message = *reinterpret_cast<const MSG*>(l);
    if (code == MSGF_DIALOGBOX && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
        return TRUE;
    return CallNextHookEx(nullptr, code, w, l);
}

int WinRuntime::run() {
    owner(); // from now on the system's word to the program as a whole is heard
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (isDialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

void WinRuntime::runUntil(const bool& done) {
    MSG message{};
    while (!done) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            PostQuitMessage(int(message.wParam)); // for the outer loop
            return;
        }
        if (isDialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WinRuntime::later(std::function<void()> work) {
    pending_.push_back(std::move(work));
    PostMessageW(owner(), LaterMessage, 0, 0);
}

void WinRuntime::listen(UINT message, std::function<void(WPARAM, LPARAM)> heard) {
    listeners_[message] = std::move(heard);
}

void WinRuntime::useCom() {
    if (comStarted_)
        return;
    comStarted_ = true;
    if (auto start = systemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx"))
        start(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
}

void WinRuntime::setAccessibleName(HWND window, std::u16string_view name) {
    // From the message loop: the accessibility service is loaded once the square is up.
    later([this, window, name = wide(name)] {
        if (!IsWindow(window))
            return;
        if (!accessibility_) {
            useCom();
            auto create =
                systemFunction<decltype(CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
            if (!create ||
                FAILED(create(AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&accessibility_))))
                accessibility_ = nullptr; // no accessibility service: the window's text names it
        }
        if (accessibility_)
            accessibility_->SetHwndPropStr(window, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                           PROPID_ACC_NAME, name.c_str());
    });
}

LRESULT CALLBACK WinRuntime::ownerProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
    auto* self = reinterpret_cast<WinRuntime*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == LaterMessage && self && !self->pending_.empty()) {
        std::function<void()> work = std::move(self->pending_.front());
        self->pending_.pop_front();
        work();
        return 0;
    }
    if (message == WM_QUERYENDSESSION)
        return TRUE; // nothing is ever half done between two messages: a save is whole
    if (message == WM_ENDSESSION && w && self)
        self->end(0);
    // A close request to the program as a whole (taskkill without /f): the end it asks for.
    // A save is never under way between two messages, so it has finished.
    if (message == WM_CLOSE && self)
        self->end(0);
    if (self)
        if (const auto listener = self->listeners_.find(message);
            listener != self->listeners_.end())
            listener->second(w, l);
    return DefWindowProcW(window, message, w, l);
}
