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
#define VITREL_SETTERS(X)                                                                       \
    X(LockMessage, Locked) X(SetClaroviaValue, ClaroviaValue) X(SetMoveTPValue, MoveTPValue)     \
    X(SetSizingTPValue, SizingTPValue) X(SetTaskbarTPValue, TaskbarTPValue)                     \
    X(SetWheelTPValue, WheelTPValue) X(EnableSClickTP, SClickTP) X(EnableMClickTP, MClickTP)     \
    X(EnableWheelTP, WheelTP) X(EnableMoveTP, MoveTP) X(EnableSizingTP, SizingTP)                \
    X(EnableShadeTP, ShadeTP) X(EnableStartButtonTextTP, StartButtonTextTP)                      \
    X(EnableOverlapTP, OverlapTP) X(EnableMoveTPLimit, MoveTPLimit) X(SetMoveTPW, MoveTPW)       \
    X(SetMoveTPH, MoveTPH) X(EnableTopmostTP, TopmostTP) X(ShadeArea, ShadeArea)                 \
    X(ShadeRight, ShadeRight)
#define VITREL_SETTER(name, field) \
    int name(int value) { return Store(g_shared.field, value); }
VITREL_SETTERS(VITREL_SETTER)
#undef VITREL_SETTER

}  // extern "C"
