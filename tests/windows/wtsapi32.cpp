// A stand-in of the system's session service for Vestrel.exe under Wine, whose own cannot say
// how the session is: it says what the file named by VESTREL_SESSION_STATE holds ("locked"
// or "unlocked"), as Windows says it (WTSSessionInfoEx, level 1). Installed in the test's
// own Wine prefix only.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The head of WTSINFOEXW, level 1.
struct Level1 {
    DWORD level;
    alignas(8) ULONG sessionId;
    int state;  // WTS_CONNECTSTATE_CLASS: 0 active, 4 disconnected
    LONG flags; // 0 locked, 1 unlocked
    WCHAR names[33 + 21 + 18];
    LARGE_INTEGER times[5];
    DWORD counts[6];
};

} // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI
    WTSQuerySessionInformationW(HANDLE, DWORD, int kind, LPWSTR* buffer, DWORD* bytes) {
    char said[32] = {};
    const char* name = std::getenv("VESTREL_SESSION_STATE");
    if (FILE* file = name ? std::fopen(name, "r") : nullptr) {
        std::fgets(said, sizeof said, file);
        std::fclose(file);
    }
    if (kind != 25 || !said[0]) { // WTSSessionInfoEx, and something to say
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    auto* info = static_cast<Level1*>(LocalAlloc(LPTR, sizeof(Level1)));
    info->level = 1;
    info->flags = std::strncmp(said, "locked", 6) == 0 ? 0 : 1;
    *buffer = reinterpret_cast<LPWSTR>(info);
    *bytes = sizeof(Level1);
    return TRUE;
}

__declspec(dllexport) void WINAPI WTSFreeMemory(void* memory) {
    LocalFree(memory);
}

__declspec(dllexport) BOOL WINAPI WTSRegisterSessionNotification(HWND, DWORD) {
    return TRUE;
}

__declspec(dllexport) BOOL WINAPI WTSUnRegisterSessionNotification(HWND) {
    return TRUE;
}
}
