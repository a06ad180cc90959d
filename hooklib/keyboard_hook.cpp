// Keyboard hook: Esc while the library holds a moved window translucent makes the
// active window opaque at once. The move loop itself still cancels the move.

#include "hook_common.h"
#include "hook_procs.h"
#include "shared_settings.h"
#include "exports.h"

namespace {
// Repeat count 1, scan code 1 (Esc), key going down, not extended, no Alt, previously up.
constexpr LPARAM kEscDown = 0x00010001;
}  // namespace

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (lParam == kEscDown && code == HC_ACTION && !g_shared.Locked && g_shared.MovingActive) {
        const HWND active = GetActiveWindow();
        if (InThisProcess(active)) RemoveTransparent(active);
    }
    return CallNextHookEx(HookFromWord(g_shared.KeyboardHook), code, wParam, lParam);
}
