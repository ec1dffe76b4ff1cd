#include "windows/WinSystem.h"

#include "core/Text.h"
#include "windows/SystemLibrary.h"
#include "windows/WinPath.h"
#include "windows/WinRuntime.h"
#include "windows/WinText.h"

#include <shellapi.h>
#include <wtsapi32.h>

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

// A name for the program folder in the session's namespace: the folder's identity (its
// volume and number), whatever path leads to it (a short name, a mapped drive, a junction);
// where that cannot be had, its path as the file system compares it, hashed.
std::wstring claimName(const std::u16string& folder) {
    wchar_t name[80];
    HANDLE handle = CreateFileW(WinPath::forApi(folder).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(handle, &info);
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    if (known) {
        swprintf(name, 80, L"Local\\Vestrel-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                 info.nFileIndexHigh, info.nFileIndexLow);
        return name;
    }
    std::wstring path = WinPath::shown(folder);
    CharUpperBuffW(path.data(), DWORD(path.size()));
    std::uint64_t hash = 14695981039346656037u; // FNV-1a
    for (const wchar_t c : path)
        hash = (hash ^ std::uint64_t(c)) * 1099511628211u;
    swprintf(name, 80, L"Local\\Vestrel-%016llx", static_cast<unsigned long long>(hash));
    return name;
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

void WinSystem::playSound(std::u16string_view path) {
    if (!chime_)
        chime_ = std::make_unique<WinChime>(
            [this](const std::u16string& reason) { reportSoundError(reason); });
    chime_->play(path);
}

void WinSystem::reportSoundError(const std::u16string& reason) {
    if (reportOpen_)
        return; // the earlier report is still open: one is enough
    reportOpen_ = true;
    // Shown once the warning that comes with it is up, so that it does not hold it up.
    runtime_.later([this, text = u"Zvuk varování nelze přehrát.\n" + reason] {
        runtime_.report(text, u"Zvuk");
        reportOpen_ = false;
    });
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
    NumberFormat format;
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) > 1)
        format.decimalPoint = text(separator);
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8) > 0)
        format.groupSeparator = text(separator);
    return format;
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
    return locked_;
}

std::int64_t WinSystem::idleMicroseconds() {
    LASTINPUTINFO input{sizeof input, 0};
    if (!GetLastInputInfo(&input))
        return -1;
    return std::int64_t(DWORD(GetTickCount() - input.dwTime)) * 1000; // the counts wrap alike
}

void WinSystem::watchSession(std::function<void()> changed) {
    runtime_.listen(WM_WTSSESSION_CHANGE,
                    [this, changed = std::move(changed)](WPARAM event, LPARAM) {
                        if (event != WTS_SESSION_LOCK && event != WTS_SESSION_UNLOCK)
                            return;
                        locked_ = event == WTS_SESSION_LOCK;
                        changed();
                    });
    // From the message loop, once the square is up.
    runtime_.later([this] {
        if (auto watch = systemFunction<decltype(WTSRegisterSessionNotification)>(
                L"wtsapi32.dll", "WTSRegisterSessionNotification"))
            watching_ = watch(runtime_.owner(), NOTIFY_FOR_THIS_SESSION);
    });
}
