// Mouse hook: the title-bar and frame gestures. Shift+left click and middle click
// toggle translucency, Ctrl+left click toggles always-on-top, a left double-click or
// a right click asks the program to shade the window.
//
// Only four non-client button messages are acted on; the flood of mouse moves leaves
// at the first comparison.

#include "hook_common.h"
#include "hook_procs.h"
#include "shared_settings.h"
#include "exports.h"

namespace {

void ToggleTranslucency(HWND window) {
    if (IsTransparent(window))
        RemoveTransparent(window);
    else
        SetTransparent(window, g_shared.ClaroviaValue);
}

void ToggleTopmost(HWND window) {
    const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    SetWindowPos(window, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

// Whether a double-click at screen x lies in the part of the title bar chosen by
// ShadeArea: 0 all of it, 1 left of the middle column, 2 right of it.
bool InShadePart(HWND window, LONG x) {
    const int area = g_shared.ShadeArea;
    if (area == 0) return true;
    RECT rc;
    if (!GetWindowRect(window, &rc)) return false;
    const LONG middle = (rc.left + rc.right) / 2;
    return (area == 1 && x < middle) || (area == 2 && x > middle);
}

}  // namespace

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const UINT message = static_cast<UINT>(wParam);
    if (message != WM_NCLBUTTONDOWN && message != WM_NCLBUTTONDBLCLK && message != WM_NCRBUTTONDOWN &&
        message != WM_NCMBUTTONDOWN)
        return CallNextHookEx(HookFromWord(g_shared.MouseHook), code, wParam, lParam);

    const MOUSEHOOKSTRUCT* mh = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (code != HC_ACTION || g_shared.Locked || !mh || !InGestureArea(mh->wHitTestCode) ||
        !HasCaptionStyle(mh->hwnd) || !InThisProcess(mh->hwnd))
        return CallNextHookEx(HookFromWord(g_shared.MouseHook), code, wParam, lParam);

    const HWND window = mh->hwnd;
    switch (message) {
    case WM_NCLBUTTONDOWN:
        if (g_shared.SClickTP || g_shared.TopmostTP) {
            if (g_shared.SClickTP && KeyDown(VK_SHIFT))
                ToggleTranslucency(window);
            else if (g_shared.TopmostTP && KeyDown(VK_CONTROL))
                ToggleTopmost(window);
            // Any left press here ends wheel stepping; the press still reaches the
            // window, so a drag still starts.
            g_shared.WheelActive = 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        // Swallowed (no maximise or restore) only once the program has the request.
        if (g_shared.ShadeTP && !KeyDown(VK_LSHIFT) && InShadePart(window, mh->pt.x) &&
            PostToProgram(WM_SHADE_DBLCLK, 0, reinterpret_cast<LPARAM>(window)))
            return 1;
        break;
    case WM_NCRBUTTONDOWN:
        // Swallowed (no system menu) only once the program has the request.
        if (g_shared.ShadeRight && !KeyDown(VK_LSHIFT) && PostToProgram(WM_SHADE_RCLICK, 0, reinterpret_cast<LPARAM>(window)))
            return 1;
        break;
    case WM_NCMBUTTONDOWN:
        if (g_shared.MClickTP) {
            ToggleTranslucency(window);
            g_shared.WheelActive = 0;
        }
        break;
    default:
        break;
    }
    return CallNextHookEx(HookFromWord(g_shared.MouseHook), code, wParam, lParam);
}
