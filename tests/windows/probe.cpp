// What the system says of Vestrel's windows, read from inside the same Wine prefix: one line
// of JSON for each visible form window or message box, with its class, text, rectangle on the
// screen, client size, styles and controls (each rectangle in its window's client pixels).
// As another program can: `probe post NAME MESSAGE WPARAM` posts a message to the windows of
// that class or text ("NAME/BUTTON": to those windows from their button, WPARAM its code);
// `probe hold FOLDER` holds a claim of the folder named after the folder alone.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

std::string json(const wchar_t* text) {
    std::string out = "\"";
    for (; *text; ++text) {
        const auto c = unsigned(*text);
        char escaped[8];
        if (c == '"' || c == '\\' || c < 0x20 || c > 0x7e) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

std::string describe(HWND window) {
    wchar_t name[256] = {};
    wchar_t text[4096] = {};
    GetClassNameW(window, name, 256);
    GetWindowTextW(window, text, 4096);
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "\"style\": %lu, \"exstyle\": %lu, \"id\": %d",
                  GetWindowLongW(window, GWL_STYLE), GetWindowLongW(window, GWL_EXSTYLE),
                  GetDlgCtrlID(window));
    return "\"class\": " + json(name) + ", \"text\": " + json(text) + ", " + numbers;
}

std::string rect(const RECT& r) {
    char out[80];
    std::snprintf(out, sizeof out, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left,
                  r.bottom - r.top);
    return out;
}

BOOL CALLBACK child(HWND control, LPARAM list) {
    auto& out = *reinterpret_cast<std::string*>(list);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    out += std::string(out.back() == '[' ? "" : ", ") + "{" + describe(control) +
           ", \"rect\": " + rect(r) +
           ", \"visible\": " + (IsWindowVisible(control) ? "true" : "false") + "}";
    return TRUE;
}

BOOL CALLBACK topLevel(HWND window, LPARAM) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    const std::wstring kind = name;
    if (!IsWindowVisible(window) || (kind != L"VestrelForm" && kind != L"#32770"))
        return TRUE;
    RECT outer{};
    RECT client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    std::string children = "[";
    EnumChildWindows(window, child, reinterpret_cast<LPARAM>(&children));
    std::printf("{%s, \"rect\": %s, \"client\": %s, \"enabled\": %s, \"owned\": %s, "
                "\"children\": %s]}\n",
                describe(window).c_str(), rect(outer).c_str(), rect(client).c_str(),
                IsWindowEnabled(window) ? "true" : "false",
                GetWindow(window, GW_OWNER) ? "true" : "false", children.c_str());
    return TRUE;
}

// What to post, to which windows.
struct Post {
    std::wstring window, button;
    UINT message;
    WPARAM w;
    int posted = 0;
};

BOOL CALLBACK postTo(HWND window, LPARAM post) {
    auto& p = *reinterpret_cast<Post*>(post);
    wchar_t name[64] = {}, text[256] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, text, 256);
    if (!std::wstring(name).starts_with(L"Vestrel") || (p.window != name && p.window != text))
        return TRUE;
    if (p.button.empty())
        p.posted += PostMessageW(window, p.message, p.w, 0);
    else if (HWND b = FindWindowExW(window, nullptr, L"Button", p.button.c_str()))
        p.posted += PostMessageW(window, p.message, MAKEWPARAM(GetDlgCtrlID(b), p.w), LPARAM(b));
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"post" && argc == 5) {
        const std::wstring name = argv[2];
        const std::size_t cut = std::min(name.find(L'/'), name.size());
        Post post{name.substr(0, cut), name.substr(std::min(cut + 1, name.size())),
                  UINT(wcstoul(argv[3], nullptr, 0)), WPARAM(wcstoul(argv[4], nullptr, 0))};
        EnumWindows(postTo, LPARAM(&post));
        return post.posted > 0 ? 0 : 1;
    }
    if (verb == L"hold" && argc == 3) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(CreateFileW(argv[2], 0, FILE_SHARE_READ, nullptr,
                                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS,
                                                    nullptr),
                                        &info))
            return 1;
        wchar_t claim[64];
        swprintf(claim, 64, L"Local\\Vestrel-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                 info.nFileIndexHigh, info.nFileIndexLow);
        CreateMutexW(nullptr, TRUE, claim);
        std::puts("held");
        std::fflush(stdout);
        Sleep(INFINITE);
    }
    EnumWindows(topLevel, 0);
    return 0;
}
