// Shading on the library's requests: a window is rolled up to its title bar, and a
// second request gives it its former height back.
#include "shaded_windows.h"

#include "controls.h"
#include "window_util.h"

namespace app {

namespace {
// The DPI the program works at (it declares itself aware of the system's DPI).
UINT ProgramDpi() {
    static const UINT dpi = static_cast<UINT>(fw::ScreenDpi(LOGPIXELSY));
    return dpi;
}
}  // namespace

int ShadedWindows::TitleBarHeight(HWND window) {
    // The caption and the frame the window really has: for its style (a dialog frame, a
    // tool window's small caption, Windows 10's padded border) and, where the system
    // tells it, its DPI. The caption height and two sizing frames where the system says
    // nothing else.
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    using DpiForWindowFn = UINT(WINAPI*)(HWND);
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    static const auto adjustForDpi = reinterpret_cast<AdjustForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    static const auto dpiForWindow =
        reinterpret_cast<DpiForWindowFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    RECT frame = {0, 0, 0, 0};
    const UINT dpi = dpiForWindow ? dpiForWindow(window) : 0;
    const BOOL known = adjustForDpi && dpi ? adjustForDpi(&frame, style, FALSE, exStyle, dpi)
                                           : AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    int height = frame.bottom - frame.top;
    if (!known || height <= 0) return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    // A window of another DPI (one that knows no DPI, scaled by the system) has its frame
    // in its own pixels: the program moves it in its own, at the screen's DPI.
    if (dpi && dpi != ProgramDpi()) height = MulDiv(height, static_cast<int>(ProgramDpi()), static_cast<int>(dpi));
    return height;
}

void ShadedWindows::Purge() {
    records_.remove_if([](const ShadeRecord& r) { return !IsWindow(r.window); });
}

void ShadedWindows::ResizeKeepingPosition(HWND window, int height) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    RECT rc = {};
    GetWindowRect(window, &rc);
    const int width = IsZoomed(window) ? rc.right - rc.left
                                       : placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    UINT flags = SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOSENDCHANGING;
    // A window of another thread is resized by a request posted to it, so that a hung
    // one holds neither the program nor its end.
    if (fw::IsOtherThreadWindow(window)) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, flags);
}

void ShadedWindows::ToggleShade(HWND window, const shell::ClassFilterList& classFilter, int defaultHeight) {
    if (shell::IsFilteredClass(fw::ClassName(window), classFilter)) return;
    RECT rc = {};
    GetWindowRect(window, &rc);
    Purge();

    for (auto it = records_.begin(); it != records_.end(); ++it) {
        if (it->window == window) {
            ResizeKeepingPosition(window, it->height);
            records_.erase(it);
            return;
        }
    }
    // A window that is gone has been purged above and is not shaded anew.
    if (!IsWindow(window)) return;

    const int captionHeight = TitleBarHeight(window);
    const int height = rc.bottom - rc.top;
    if (height == captionHeight) {
        // Already no taller than its title bar: unroll it to the default height. That
        // is the unshading, so nothing is recorded and the next request rolls it up.
        ResizeKeepingPosition(window, defaultHeight);
    } else {
        ResizeKeepingPosition(window, captionHeight);
        records_.push_back({window, height});
    }
}

void ShadedWindows::RestoreAll() {
    for (const ShadeRecord& record : records_)
        if (IsWindow(record.window)) ResizeKeepingPosition(record.window, record.height);
    records_.clear();
}

}  // namespace app
