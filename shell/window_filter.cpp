#include "window_filter.h"

namespace {
constexpr const wchar_t* kShellClasses[] = {L"Progman",       L"Shell_TrayWnd",    L"WorkerW",
                                            L"SHELLDLL_DefView", L"SysListView32", L"tooltips_class32",
                                            L"DV2ControlHost"};
}  // namespace

std::wstring WindowClassName(HWND window) {
    wchar_t name[260] = {};
    const int n = GetClassNameW(window, name, 260);
    return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

bool IsFilteredClass(const std::wstring& className, const std::vector<std::wstring>& classFilter) {
    for (const std::wstring& filtered : classFilter)
        if (className == filtered) return true;
    return false;
}

bool IsShellOrFilteredWindow(HWND window, const std::vector<std::wstring>& classFilter) {
    const std::wstring cls = WindowClassName(window);
    for (const wchar_t* shell : kShellClasses)
        if (cls == shell) return true;
    return IsFilteredClass(cls, classFilter);
}
