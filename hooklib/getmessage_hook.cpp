// Get-message hook: the wheel over the active window's title bar or frame steps its
// translucency. Only WM_MOUSEWHEEL is acted on; every other retrieved message leaves
// at the first comparison.

#include "hook_common.h"
#include "hook_procs.h"
#include "layered.h"
#include "process_state.h"
#include "shared_settings.h"
#include "exports.h"
#include "window_class.h"

namespace {
constexpr int kLowest = 10;
constexpr int kHighest = 255;
// A hung window under the pointer must not stall the thread that runs the hook.
constexpr UINT kHitTestTimeoutMs = 200;

LRESULT HitTest(HWND window, LPARAM point) {
    DWORD_PTR result = HTNOWHERE;
    if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, point, SMTO_ABORTIFHUNG, kHitTestTimeoutMs, &result))
        return HTNOWHERE;
    return static_cast<LRESULT>(result);
}

int32_t Clamp32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

// Steps a layered window. Returns false when stepping ended past full opacity (the
// window is opaque again and the notch goes through unchanged).
bool StepLayered(HWND window, int delta) {
    if (!g_shared.WheelActive) {
        // The first notch only takes up the window's current level.
        if (g_process.getLayered) {
            BYTE alpha = 0;
            DWORD flags = 0;
            if (g_process.getLayered(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA))
                g_shared.WheelLevel = alpha;
        } else {
            g_shared.WheelLevel = g_shared.ClaroviaValue;
        }
        g_shared.WheelActive = 1;
    } else if (delta < 0) {
        const int64_t level = static_cast<int64_t>(g_shared.WheelLevel) - g_shared.WheelTPValue;
        g_shared.WheelLevel = level < kLowest ? kLowest : Clamp32(level);
    } else if (delta > 0) {
        const int64_t level = static_cast<int64_t>(g_shared.WheelLevel) + g_shared.WheelTPValue;
        g_shared.WheelLevel = Clamp32(level);
        if (level > kHighest) {
            RemoveTransparent(window);
            g_shared.WheelActive = 0;
        }
    }
    if (!g_shared.WheelActive) return false;
    SetLayeredAlpha(window, g_shared.WheelLevel);
    return true;
}

}  // namespace

LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (!msg || msg->message != WM_MOUSEWHEEL || g_shared.Locked || !g_shared.WheelTP || !InThisProcess(msg->hwnd))
        return CallNextHookEx(HookFromWord(g_shared.GetMessageHook), code, wParam, lParam);

    const POINT pt = {static_cast<short>(LOWORD(msg->lParam)), static_cast<short>(HIWORD(msg->lParam))};
    const HWND window = WindowFromPoint(pt);
    if (!window) return CallNextHookEx(HookFromWord(g_shared.GetMessageHook), code, wParam, lParam);

    const HWND taskbar = FindWindowW(kTaskbarClass, nullptr);
    const LRESULT hit = HitTest(window, MAKELPARAM(pt.x, pt.y));
    if ((window != taskbar && !InGestureArea(hit)) || window != GetForegroundWindow() ||
        !HasCaptionStyle(window))
        return CallNextHookEx(HookFromWord(g_shared.GetMessageHook), code, wParam, lParam);

    const int delta = static_cast<short>(HIWORD(msg->wParam));
    if (IsLayered(window)) {
        if (StepLayered(window, delta)) msg->wParam = 0;
        return 1;
    }
    if (delta < 0) {
        SetTransparent(window, kHighest);
        g_shared.WheelLevel = kHighest;
        g_shared.WheelActive = 1;
        msg->wParam = 0;
        return 1;
    }
    return CallNextHookEx(HookFromWord(g_shared.GetMessageHook), code, wParam, lParam);
}
