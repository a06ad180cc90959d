// rig_post <window caption> <message> <wParam> <lParam>: posts one message to the
// top-level window with that caption (numbers in decimal or 0x hex). Exits 0 when
// the window was found and the message posted, 1 otherwise. Used by the scripts,
// e.g. to end the program through its own exit command.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        fwprintf(stderr, L"usage: rig_post <caption> <message> <wParam> <lParam>\n");
        return 2;
    }
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) return 1;
    const UINT message = static_cast<UINT>(wcstoul(argv[2], nullptr, 0));
    const WPARAM wParam = static_cast<WPARAM>(wcstoull(argv[3], nullptr, 0));
    const LPARAM lParam = static_cast<LPARAM>(wcstoll(argv[4], nullptr, 0));
    return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
}
