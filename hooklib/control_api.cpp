// The control exports: the program fills the shared record through these and starts
// and stops the hooks. The setters check nothing; they store the argument unchanged.
#define VITREL_BUILDING
#include "hook_procs.h"
#include "process_state.h"
#include "shared_settings.h"
#include "vitrel_api.h"

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

int LockMessage(int flag) { return Store(g_shared.Locked, flag); }
int SetClaroviaValue(int alpha) { return Store(g_shared.ClaroviaValue, alpha); }
int SetMoveTPValue(int alpha) { return Store(g_shared.MoveTPValue, alpha); }
int SetSizingTPValue(int alpha) { return Store(g_shared.SizingTPValue, alpha); }
int SetTaskbarTPValue(int alpha) { return Store(g_shared.TaskbarTPValue, alpha); }
int SetWheelTPValue(int step) { return Store(g_shared.WheelTPValue, step); }
int EnableSClickTP(int flag) { return Store(g_shared.SClickTP, flag); }
int EnableMClickTP(int flag) { return Store(g_shared.MClickTP, flag); }
int EnableWheelTP(int flag) { return Store(g_shared.WheelTP, flag); }
int EnableMoveTP(int flag) { return Store(g_shared.MoveTP, flag); }
int EnableSizingTP(int flag) { return Store(g_shared.SizingTP, flag); }
int EnableShadeTP(int flag) { return Store(g_shared.ShadeTP, flag); }
int EnableStartButtonTextTP(int flag) { return Store(g_shared.StartButtonTextTP, flag); }
int EnableOverlapTP(int flag) { return Store(g_shared.OverlapTP, flag); }
int EnableMoveTPLimit(int flag) { return Store(g_shared.MoveTPLimit, flag); }
int SetMoveTPW(int pixels) { return Store(g_shared.MoveTPW, pixels); }
int SetMoveTPH(int pixels) { return Store(g_shared.MoveTPH, pixels); }
int EnableTopmostTP(int flag) { return Store(g_shared.TopmostTP, flag); }
int ShadeArea(int area) { return Store(g_shared.ShadeArea, area); }
int ShadeRight(int flag) { return Store(g_shared.ShadeRight, flag); }

}  // extern "C"
