// Shading on the library's requests: a window is rolled up to its title bar, and a
// second request gives it its former height back.
#include "main_hidden_dlg.h"
#include "window_filter.h"

void CMainHiddenDlg::PurgeShadedWindows() {
    ShadedWindows.remove_if([](const ShadeRecord& r) { return !IsWindow(r.window); });
}

void CMainHiddenDlg::ResizeKeepingPosition(HWND window, int height) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    RECT rc = {};
    GetWindowRect(window, &rc);
    const int width = IsZoomed(window) ? rc.right - rc.left
                                       : placement.rcNormalPosition.right - placement.rcNormalPosition.left;
    SetWindowPos(window, HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_SHOWWINDOW | SWP_NOSENDCHANGING);
}

void CMainHiddenDlg::ToggleShade(HWND window) {
    if (IsFilteredClass(WindowClassName(window), Settings.ClassFilter)) return;
    RECT rc = {};
    GetWindowRect(window, &rc);
    PurgeShadedWindows();

    for (auto it = ShadedWindows.begin(); it != ShadedWindows.end(); ++it) {
        if (it->window == window) {
            ResizeKeepingPosition(window, it->height);
            ShadedWindows.erase(it);
            return;
        }
    }
    // A window that is gone has been purged above and is not shaded anew.
    if (!IsWindow(window)) return;

    const int captionHeight = GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
    const int height = rc.bottom - rc.top;
    if (height == captionHeight) {
        // Already no taller than its title bar: unroll it to the default height. That
        // is the unshading, so nothing is recorded and the next request rolls it up.
        ResizeKeepingPosition(window, Settings.DefaultHeight);
    } else {
        ResizeKeepingPosition(window, captionHeight);
        ShadedWindows.push_back({window, height});
    }
}
