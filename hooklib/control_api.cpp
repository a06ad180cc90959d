// The control exports: the program fills the shared record through these and starts
// and stops the hooks. The setters check nothing; they store the argument unchanged.

#include "hook_procs.h"
#include "process_state.h"
#include "shared_settings.h"
#include "exports.h"

namespace {
int Store(volatile int32_t& field, int value) {
    field = value;
    return value;
}

uint32_t Install(int idHook, HOOKPROC proc) {
    return WordFromHandle(SetWindowsHookExW(idHook, proc, g_process.module, 0));
}
}  // namespace

extern "C" {

HHOOK Start(HWND programWindow) {
    g_shared.ProgramWindow = WordFromHandle(programWindow);
    g_shared.MouseHook = Install(WH_MOUSE, MouseHookProc);
    g_shared.CallWndProcHook = Install(WH_CALLWNDPROC, CallWndProcHookProc);
    g_shared.KeyboardHook = Install(WH_KEYBOARD, KeyboardHookProc);
    g_shared.GetMessageHook = Install(WH_GETMESSAGE, GetMessageHookProc);
    g_shared.ShellHook = Install(WH_SHELL, ShellHookProc);
    return HookFromWord(g_shared.ShellHook);
}

BOOL End() {
    UnhookWindowsHookEx(HookFromWord(g_shared.MouseHook));
    UnhookWindowsHookEx(HookFromWord(g_shared.CallWndProcHook));
    UnhookWindowsHookEx(HookFromWord(g_shared.KeyboardHook));
    UnhookWindowsHookEx(HookFromWord(g_shared.GetMessageHook));
    return UnhookWindowsHookEx(HookFromWord(g_shared.ShellHook));
}

// The setters: each stores its argument in one field of the shared record.
int LockMessage(int value) { return Store(g_shared.Locked, value); }
#define VITREL_SETTER(name, initial, low, high, setter, ordinal, field, ...) \
    int setter(int value) { return Store(g_shared.field, value); }
CLAROVIA_SETTINGS(VITREL_SETTER, VITREL_SETTER, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                  CLAROVIA_NO_ROW)
#undef VITREL_SETTER

}  // extern "C"
