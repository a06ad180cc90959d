// rig_text <class>: prints, in UTF-8, the text of the first child window of the
// top-level window of that class (for "Shell_TrayWnd": the start button). Exits 0 when
// the window was found, 1 otherwise. Used by the scripts.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rig_text <class>\n");
        return 2;
    }
    const HWND top = FindWindowW(argv[1], nullptr);
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
