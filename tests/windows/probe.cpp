// What the system says of Vestrel's windows, read from inside the same Wine prefix: one line
// of JSON for each visible form window or message box, with its class, text, rectangle on the
// screen, client size, styles and controls (each rectangle in its window's client pixels).
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

} // namespace

int main() {
    EnumWindows(topLevel, 0);
    return 0;
}
