#include "desktop_listview.h"

namespace {
// Explorer may be busy or hung: never wait on it for long.
constexpr UINT kShellTimeoutMs = 1000;
}  // namespace

HWND FindDesktopListView() {
    const HWND progman = FindWindowW(L"Progman", L"Program Manager");
    if (!progman) return nullptr;
    const HWND view = FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr);
    if (!view) return nullptr;
    return FindWindowExW(view, nullptr, L"SysListView32", nullptr);
}

COLORREF DesktopListColor(HWND list, UINT message) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(list, message, 0, 0, SMTO_ABORTIFHUNG, kShellTimeoutMs, &result)) return 0;
    return static_cast<COLORREF>(result);
}
