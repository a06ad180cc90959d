#include "window_util.h"

#include <cwchar>

namespace fw {

std::wstring ClassName(HWND window) {
    // Class names are at most 256 characters.
    wchar_t name[260] = {};
    const int n = GetClassNameW(window, name, 260);
    return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

bool HasClass(HWND window, const wchar_t* name) {
    wchar_t found[260];
    // Exactly, character for character (lstrcmp would compare linguistically).
    return GetClassNameW(window, found, 260) > 0 && std::wcscmp(found, name) == 0;
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(window, text.data(), length + 1);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    const bool answered =
        SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0;
    if (result) *result = answered ? static_cast<LRESULT>(answer) : 0;
    return answered;
}

bool IsOtherThreadWindow(HWND window) { return GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId(); }

}  // namespace fw
