// rig_query: tells the scripts about windows on the desktop.
//
//   rig_query text <class>      the text of the first child of the top-level window of
//                               that class (for "Shell_TrayWnd": the start button), UTF-8
//   rig_query rect <caption>    the screen rectangle of the top-level window with that
//                               caption: "x y width height"
//
// Exits 0 when the window was found, 1 otherwise, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {
int Text(const wchar_t* className) {
    const HWND top = FindWindowW(className, nullptr);
    const HWND child = top ? GetWindow(top, GW_CHILD) : nullptr;
    if (!child) return 1;
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(child)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(child, text.data(), static_cast<int>(text.size()))));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
    return 0;
}

int Rect(const wchar_t* caption) {
    const HWND window = FindWindowW(nullptr, caption);
    RECT rc;
    if (!window || !GetWindowRect(window, &rc)) return 1;
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return 0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"text") == 0) return Text(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"rect") == 0) return Rect(argv[2]);
    std::fprintf(stderr, "usage: rig_query text <class> | rig_query rect <caption>\n");
    return 2;
}
