// Call-window-proc hook: sees every message sent to a window procedure in every
// hooked thread. It acts on six message numbers; everything else leaves at the
// first comparison, before any system call.

#include "hook_common.h"
#include "hook_procs.h"
#include "shared_settings.h"
#include "taskbar.h"
#include "exports.h"

namespace {

// Translucency while moving, with the optional size limit. Only a window that this
// library turned from opaque into layered is owed the way back (MovingActive).
void OnMoving(HWND window) {
    if (!g_shared.MoveTP || g_shared.MovingActive) return;
    RECT rc;
    if (!GetWindowRect(window, &rc)) return;
    if (g_shared.MoveTPLimit &&
        (rc.right - rc.left > g_shared.MoveTPW || rc.bottom - rc.top > g_shared.MoveTPH))
        return;
    if (SetTransparent(window, g_shared.MoveTPValue)) g_shared.MovingActive = 1;
}

void OnSizing(HWND window) {
    if (!g_shared.SizingTP || g_shared.SizingActive) return;
    if (SetTransparent(window, g_shared.SizingTPValue)) g_shared.SizingActive = 1;
}

void OnExitSizeMove(HWND window) {
    if (g_shared.MoveTP && g_shared.MovingActive) {
        g_shared.MovingActive = 0;
        RemoveTransparent(window);
    } else if (g_shared.SizingActive) {
        g_shared.SizingActive = 0;
        RemoveTransparent(window);
    }
    if (g_shared.OverlapTP) PostToProgram(WM_WINDOW_EVENT, reinterpret_cast<WPARAM>(window), WM_EXITSIZEMOVE);
}

}  // namespace

LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && cwp) {
        switch (cwp->message) {
        case WM_PAINT:
            if (!g_shared.Locked && g_shared.StartButtonTextTP && InThisProcess(cwp->hwnd))
                PostToProgram(WM_PAINT_SEEN, 0, 0);
            break;
        case WM_ACTIVATEAPP:
            if (!g_shared.Locked && InThisProcess(cwp->hwnd)) ApplyTaskbarOnActivation(cwp->hwnd);
            break;
        case WM_ACTIVATE:
            if (!g_shared.Locked && InThisProcess(cwp->hwnd)) {
                ApplyTaskbarOnActivation(cwp->hwnd);
                if (HasCaptionStyle(cwp->hwnd))
                    PostToProgram(WM_WINDOW_EVENT, reinterpret_cast<WPARAM>(cwp->hwnd), WM_ACTIVATE);
            }
            break;
        case WM_MOVING:
            if (!g_shared.Locked && HasCaptionStyle(cwp->hwnd) && InThisProcess(cwp->hwnd)) OnMoving(cwp->hwnd);
            break;
        case WM_SIZING:
            if (!g_shared.Locked && HasCaptionStyle(cwp->hwnd) && InThisProcess(cwp->hwnd)) OnSizing(cwp->hwnd);
            break;
        case WM_EXITSIZEMOVE:
            if (!g_shared.Locked && HasCaptionStyle(cwp->hwnd) && InThisProcess(cwp->hwnd))
                OnExitSizeMove(cwp->hwnd);
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(HookFromWord(g_shared.CallWndProcHook), code, wParam, lParam);
}
