// What the system says of Vestrel's windows, read from inside the same Wine prefix: one line
// of JSON for each visible form window or message box, with its class, text, rectangle on the
// screen, client size, styles and controls (each rectangle in its window's client pixels).
//   probe post NAME MESSAGE WPARAM   posts a message to each of Vestrel's top-level windows
//                                    whose class or text is NAME, as another program can
//   probe press NAME BUTTON          posts a button's click to such a window, as another
//                                    program can (BN_CLICKED from the button's text)
//   probe hold FOLDER                holds a claim of a program folder named after the
//                                    folder alone, as any user's program in the session can
#include <windows.h>

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

// A message to post, and to which windows.
struct Post {
    std::wstring name;
    std::wstring button; // empty: post `message` itself
    UINT message = 0;
    WPARAM w = 0;
    int posted = 0;
};

BOOL CALLBACK findButton(HWND control, LPARAM post) {
    auto& p = *reinterpret_cast<Post*>(post);
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    if (p.button != text)
        return TRUE;
    p.posted += PostMessageW(GetParent(control), WM_COMMAND,
                             MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), LPARAM(control));
    return FALSE;
}

BOOL CALLBACK postTo(HWND window, LPARAM post) {
    auto& p = *reinterpret_cast<Post*>(post);
    wchar_t name[64] = {};
    wchar_t text[256] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, text, 256);
    const std::wstring kind = name;
    if ((kind != L"VestrelForm" && kind != L"VestrelOwner") || (p.name != name && p.name != text))
        return TRUE;
    if (p.button.empty())
        p.posted += PostMessageW(window, p.message, p.w, 0);
    else
        EnumChildWindows(window, findButton, post);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb.empty()) {
        EnumWindows(topLevel, 0);
        return 0;
    }
    Post post;
    if (verb == L"post" && argc == 5) {
        post.name = argv[2];
        post.message = UINT(wcstoul(argv[3], nullptr, 0));
        post.w = WPARAM(wcstoul(argv[4], nullptr, 0));
    } else if (verb == L"hold" && argc == 3) {
        HANDLE folder = CreateFileW(argv[2], 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(folder, &info))
            return 1;
        wchar_t name[64];
        swprintf(name, 64, L"Local\\Vestrel-%08lx-%08lx%08lx", info.dwVolumeSerialNumber,
                 info.nFileIndexHigh, info.nFileIndexLow);
        CreateMutexW(nullptr, TRUE, name);
        std::puts("held");
        std::fflush(stdout);
        Sleep(INFINITE);
    } else if (verb == L"press" && argc == 4) {
        post.name = argv[2];
        post.button = argv[3];
    } else {
        std::fputs("usage: probe [post NAME MESSAGE WPARAM | press NAME BUTTON | hold FOLDER]\n",
                   stderr);
        return 2;
    }
    EnumWindows(postTo, LPARAM(&post));
    return post.posted > 0 ? 0 : 1;
}
