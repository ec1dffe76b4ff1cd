#pragma once

#include <windows.h>

// A function of a system library, the library loaded the first time one of its functions is
// asked for: what the program needs only now and then (the sound, the shell, COM, the session's
// notifications) costs nothing at start-up. Null where the system lacks it.
template <typename Function> Function* systemFunction(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module)
        module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module
               ? reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}
