#include "windows/WinSystem.h"

#include "core/Text.h"
#include "windows/SystemLibrary.h"
#include "windows/WinPath.h"
#include "windows/WinRuntime.h"
#include "windows/WinText.h"

#include <sddl.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <optional>

namespace {

// Microseconds of interrupt time, the time asleep included (QueryInterruptTime where the
// system has it; the tick count, which counts the same, where it does not).
std::int64_t interruptMicroseconds() {
    using Query = VOID(WINAPI*)(PULONGLONG);
    static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "QueryInterruptTime")));
    if (!query)
        return std::int64_t(GetTickCount64()) * 1000;
    ULONGLONG time = 0;
    query(&time);
    return std::int64_t(time / 10);
}

// The user's SID as text ("S-1-5-21-..."), or nothing where it cannot be had. From advapi32,
// loaded here: the claim is made once, at the start.
std::wstring userSid() {
    const auto openToken =
        systemFunction<decltype(OpenProcessToken)>(L"advapi32.dll", "OpenProcessToken");
    const auto information =
        systemFunction<decltype(GetTokenInformation)>(L"advapi32.dll", "GetTokenInformation");
    const auto convert =
        systemFunction<decltype(ConvertSidToStringSidW)>(L"advapi32.dll", "ConvertSidToStringSidW");
    HANDLE token = nullptr;
    if (!openToken || !information || !convert ||
        !openToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::wstring sid;
    alignas(TOKEN_USER) BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
    DWORD size = 0;
    LPWSTR text = nullptr;
    if (information(token, TokenUser, user, sizeof user, &size) &&
        convert(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &text)) {
        sid = text;
        LocalFree(text);
    }
    CloseHandle(token);
    return sid;
}

// A name for the program folder in the session's namespace, of this user: the folder's
// identity (its volume and number), whatever path leads to it (a short name, a mapped drive,
// a junction) but taken from its exact name; where that cannot be had, its path as the file
// system compares it, hashed. Another user in the same session (RunAs) claims another name.
std::wstring claimName(const std::u16string& folder) {
    const std::wstring prefix = L"Local\\Vestrel-" + userSid() + L"-";
    wchar_t name[40];
    HANDLE handle = CreateFileW(WinPath::exact(folder).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    if (known) {
        swprintf(name, 40, L"%08lx-%08lx%08lx", info.dwVolumeSerialNumber, info.nFileIndexHigh,
                 info.nFileIndexLow);
        return prefix + name;
    }
    std::wstring path = WinPath::shown(folder);
    CharUpperBuffW(path.data(), DWORD(path.size()));
    std::uint64_t hash = 14695981039346656037u; // FNV-1a
    for (const wchar_t c : path)
        hash = (hash ^ std::uint64_t(c)) * 1099511628211u;
    swprintf(name, 40, L"%016llx", static_cast<unsigned long long>(hash));
    return prefix + name;
}

// What the system says of this session now, where it can (Windows 8 and later; Wine cannot):
// whether it is locked, and whether it is disconnected (a remote desktop closed, another
// user at the console). The record's head, as wtsapi32 lays it out (WTSINFOEXW, level 1).
struct SessionState {
    std::optional<bool> locked;
    std::optional<bool> disconnected;
};

SessionState sessionState() {
    struct Level1 {
        DWORD level;
        alignas(8) ULONG sessionId; // the record's union starts at 8: it holds a LARGE_INTEGER
        WTS_CONNECTSTATE_CLASS state;
        LONG flags;
    };
    constexpr auto SessionInfoEx = WTS_INFO_CLASS(25);
    constexpr LONG Locked = 0;
    constexpr LONG Unlocked = 1;
    const auto query = systemFunction<decltype(WTSQuerySessionInformationW)>(
        L"wtsapi32.dll", "WTSQuerySessionInformationW");
    const auto release = systemFunction<decltype(WTSFreeMemory)>(L"wtsapi32.dll", "WTSFreeMemory");
    SessionState now;
    LPWSTR buffer = nullptr;
    DWORD bytes = 0;
    if (!query || !release ||
        !query(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, SessionInfoEx, &buffer, &bytes))
        return now;
    if (bytes >= sizeof(Level1)) {
        const auto* info = reinterpret_cast<const Level1*>(buffer);
        if (info->level == 1) {
            if (info->flags == Locked || info->flags == Unlocked)
                now.locked = info->flags == Locked;
            now.disconnected = info->state == WTSDisconnected;
        }
    }
    release(buffer);
    return now;
}

} // namespace

WinSystem::WinSystem(WinRuntime& runtime) : runtime_(runtime) {}

WinSystem::~WinSystem() {
    if (watching_)
        if (auto unregister = systemFunction<decltype(WTSUnRegisterSessionNotification)>(
                L"wtsapi32.dll", "WTSUnRegisterSessionNotification"))
            unregister(runtime_.owner());
}

bool WinSystem::claimProgramFolder() {
    claim_ = CreateMutexW(nullptr, FALSE, claimName(programFolder()).c_str());
    // Where no claim can be made we cannot tell, and run all the same.
    return !(claim_ && GetLastError() == ERROR_ALREADY_EXISTS);
}

void WinSystem::playSound(std::u16string_view path,
                          std::function<void(std::u16string_view reason)> failed) {
    if (!chime_) {
        chime_ = std::make_unique<WinChime>();
        // Stopped before the program ends: Wine's sound driver, torn down as the process goes
        // while it plays, can crash it. Never waited for long: a sound server that hangs must
        // not hold the end up.
        runtime_.beforeEnd([this] {
            const HANDLE stopping = CreateThread(
                nullptr, 0,
                [](LPVOID chime) -> DWORD {
                    delete static_cast<WinChime*>(chime);
                    return 0;
                },
                chime_.release(), 0, nullptr);
            if (stopping) {
                WaitForSingleObject(stopping, 1000);
                CloseHandle(stopping);
            }
        });
    }
    chime_->play(path, failed);
}

void WinSystem::openUrl(std::u16string_view url) {
    runtime_.useCom(); // the shell's handlers of the address may be COM's
    if (auto open = systemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW"))
        open(nullptr, nullptr, wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::u16string WinSystem::programFolder() {
    if (!folder_.empty())
        return folder_;
    // Up to the longest path the system has: the program may sit deep in a folder tree.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size() || path.size() >= 32768) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t cut = path.find_last_of(L"\\/");
    path.resize(cut == std::wstring::npos ? 0 : cut);
    if (path.size() == 2 && path[1] == L':')
        path += L'\\'; // a drive's root keeps its separator: C:\ (C: alone is relative)
    folder_ = path.empty() ? u"." : text(path);
    return folder_;
}

bool WinSystem::fileExists(std::u16string_view path) {
    // An ordinary file: no folder, no device, neither hidden nor a system file.
    const DWORD attributes = GetFileAttributesW(WinPath::forApi(path).c_str());
    constexpr DWORD NotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & NotOrdinary);
}

NumberFormat WinSystem::numberFormat() {
    // One that does not fit is none (what a failed call left in the buffer is not kept).
    wchar_t decimal[8] = {};
    wchar_t group[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8) == 0)
        decimal[0] = L'\0';
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, group, 8) == 0)
        group[0] = L'\0';
    return NumberFormat::of(text(decimal), text(group));
}

std::int64_t WinSystem::clockMicroseconds() {
    return interruptMicroseconds();
}

std::int64_t WinSystem::sleptMicroseconds() {
    // The unbiased interrupt time leaves out the time asleep.
    ULONGLONG unbiased = 0;
    QueryUnbiasedInterruptTime(&unbiased);
    return interruptMicroseconds() - std::int64_t(unbiased / 10);
}

bool WinSystem::sessionLocked() {
    // A screen saver that runs is time away too, locked or not; the system sends no notice of
    // it to a window in the background, so it is asked.
    BOOL screenSaver = FALSE;
    return locked_ || disconnected_ ||
           (SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &screenSaver, 0) && screenSaver);
}

bool WinSystem::userBusy() {
    // The shell's answer: presentation settings on or a slideshow, a full-screen game or
    // video, another full-screen program in front. Where it cannot say, no one is busy.
    const auto query = systemFunction<decltype(SHQueryUserNotificationState)>(
        L"shell32.dll", "SHQueryUserNotificationState");
    QUERY_USER_NOTIFICATION_STATE state = QUNS_ACCEPTS_NOTIFICATIONS;
    if (!query || FAILED(query(&state)))
        return false;
    return state == QUNS_PRESENTATION_MODE || state == QUNS_RUNNING_D3D_FULL_SCREEN ||
           state == QUNS_BUSY;
}

std::int64_t WinSystem::idleMicroseconds() {
    LASTINPUTINFO input{sizeof input, 0};
    if (!GetLastInputInfo(&input))
        return -1;
    return std::int64_t(DWORD(GetTickCount() - input.dwTime)) * 1000; // the counts wrap alike
}

void WinSystem::watchSession(std::function<void()> changed) {
    runtime_.listen(WM_WTSSESSION_CHANGE, [this, changed](WPARAM event, LPARAM) {
        switch (event) {
        case WTS_SESSION_LOCK:
        case WTS_SESSION_UNLOCK:
            locked_ = event == WTS_SESSION_LOCK;
            break;
        case WTS_CONSOLE_DISCONNECT:
        case WTS_REMOTE_DISCONNECT:
        case WTS_CONSOLE_CONNECT:
        case WTS_REMOTE_CONNECT:
            disconnected_ = event == WTS_CONSOLE_DISCONNECT || event == WTS_REMOTE_DISCONNECT;
            break;
        default:
            return;
        }
        // Any program may post the notice: it counts as far as the
        // system's own state of the session confirms it.
        const SessionState now = sessionState();
        locked_ = now.locked.value_or(locked_);
        disconnected_ = now.disconnected.value_or(disconnected_);
        changed();
    });
    // From the message loop, once the square is up; then how the session is now: a program
    // started in a locked or disconnected session hears no notice of it.
    runtime_.later([this, changed = std::move(changed)] {
        if (auto watch = systemFunction<decltype(WTSRegisterSessionNotification)>(
                L"wtsapi32.dll", "WTSRegisterSessionNotification"))
            watching_ = watch(runtime_.owner(), NOTIFY_FOR_THIS_SESSION);
        const SessionState now = sessionState();
        locked_ = now.locked.value_or(false);
        disconnected_ = now.disconnected.value_or(false);
        if (sessionLocked())
            changed();
    });
}
