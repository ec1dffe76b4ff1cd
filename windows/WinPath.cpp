#include "windows/WinPath.h"

#include <utility>

namespace WinPath {

namespace {

constexpr std::wstring_view Verbatim = L"\\\\?\\";

// An absolute path with the prefix; a relative one or one prefixed already as it is.
std::wstring verbatim(std::wstring native) {
    if (native.starts_with(Verbatim))
        return native;
    if (native.size() > 2 && native[1] == L':' && native[2] == L'\\')
        return std::wstring(Verbatim) + native;
    if (native.starts_with(L"\\\\"))
        return std::wstring(Verbatim) + L"UNC" + native.substr(1);
    return native;
}

} // namespace

std::wstring shown(std::u16string_view path) {
    std::wstring out;
    out.reserve(path.size());
    for (const char16_t c : path) {
        const wchar_t w = c == u'/' ? L'\\' : wchar_t(c);
        // A share's name starts with two; elsewhere "C:\\/s.wav" (a root folder's file) is one.
        if (w == L'\\' && out.size() > 1 && out.back() == L'\\')
            continue;
        out.push_back(w);
    }
    return out;
}

std::wstring forApi(std::u16string_view path) {
    std::wstring native = shown(path);
    // Below the limit, and with room for the folder's 8.3 names, the path is passed as it is.
    return native.size() < 248 ? native : verbatim(std::move(native));
}

std::wstring exact(std::u16string_view path) {
    return verbatim(shown(path));
}

} // namespace WinPath
