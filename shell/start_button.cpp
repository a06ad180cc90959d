#include "start_button.h"

#include <cwchar>
#include <memory>

#include "shell_names.h"
#include "window_util.h"

namespace shell {

namespace {
// Enough for what a start button usually says; longer texts read into the heap.
constexpr size_t kShortText = 260;

// Whether the button's text is exactly `text`. Reads at most one character more than
// `text` has, which is enough to see that a longer text differs.
bool ShowsText(HWND button, const std::wstring& text) {
    const size_t room = text.size() + 2;
    wchar_t small[kShortText];
    std::unique_ptr<wchar_t[]> large;
    wchar_t* current = small;
    if (room > kShortText) {
        large.reset(new wchar_t[room]);
        current = large.get();
    }
    const int n = GetWindowTextW(button, current, static_cast<int>(room));
    return n >= 0 && static_cast<size_t>(n) == text.size() && wmemcmp(current, text.data(), text.size()) == 0;
}
}  // namespace

HWND FindStartButton() {
    const HWND tray = FindWindowW(kTaskbarClass, nullptr);
    return tray ? GetWindow(tray, GW_CHILD) : nullptr;
}

std::wstring ReadStartButtonText() {
    const HWND button = FindStartButton();
    return button ? fw::WindowText(button) : std::wstring();
}

bool StartButtonAnswers() {
    const HWND button = FindStartButton();
    return button && fw::SendBounded(button, WM_NULL, 0, 0);
}

bool SetStartButtonText(const std::wstring& text) {
    const HWND button = FindStartButton();
    if (!button || ShowsText(button, text)) return false;
    fw::SendBounded(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(button, nullptr, TRUE);
    return true;
}

}  // namespace shell
