// A stand-in of the system's session service for Vestrel.exe under Wine, whose own cannot say
// how the session is: locked while the file VESTREL_SESSION_STATE names says "locked", as
// Windows says it (WTSSessionInfoEx, level 1: the head of a WTSINFOEXW). Notices are posted.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" {

__declspec(dllexport) BOOL WINAPI
    WTSQuerySessionInformationW(HANDLE, DWORD, int kind, LPWSTR* buffer, DWORD* bytes) {
    char said[8] = {};
    if (FILE* file = std::fopen(std::getenv("VESTREL_SESSION_STATE"), "r")) {
        std::fread(said, 1, 6, file);
        std::fclose(file);
    }
    if (kind != 25 || !said[0]) // WTSSessionInfoEx, and the file says
        return FALSE;
    auto* info = static_cast<DWORD*>(LocalAlloc(LPTR, *bytes = 256));
    info[0] = 1;                                  // the level
    info[4] = std::string_view(said) != "locked"; // SessionFlags: 0 locked, 1 unlocked
    *buffer = reinterpret_cast<LPWSTR>(info);
    return TRUE;
}

__declspec(dllexport) void WINAPI WTSFreeMemory(void* memory) {
    LocalFree(memory);
}
}
