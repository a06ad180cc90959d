#include "window_util.h"

#include <cwchar>

namespace fw {

namespace {
UnansweredThreads<4> g_unanswered;
}  // namespace

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
    // Not GetWindowTextLength: it sends WM_GETTEXTLENGTH, which waits on a hung owner.
    // GetWindowText reads another process's window text without a message.
    std::wstring text(512, L'\0');
    for (;;) {
        const int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        if (n <= 0) return {};
        if (static_cast<size_t>(n) + 1 < text.size() || text.size() >= 32768) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, UINT timeoutMs) {
    DWORD_PTR answer = 0;
    const Sent sent = SendBoundedTo(g_unanswered, window, message, wParam, lParam, &answer, timeoutMs);
    if (result) *result = static_cast<LRESULT>(answer);
    return sent == Sent::Answered;
}

void AllowFromLowerRights(HWND window, const UINT* messages, size_t count) {
    using FilterExFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    using FilterFn = BOOL(WINAPI*)(UINT, DWORD);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto filterEx = reinterpret_cast<FilterExFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    const auto filter =
        reinterpret_cast<FilterFn>(reinterpret_cast<void*>(GetProcAddress(user32, "ChangeWindowMessageFilter")));
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW for one window, MSGFLT_ADD for the process
    for (size_t i = 0; i < count; ++i) {
        if (!messages[i]) continue;
        if (filterEx)
            filterEx(window, messages[i], kAllow, nullptr);
        else if (filter)
            filter(messages[i], kAllow);
    }
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

}  // namespace fw
