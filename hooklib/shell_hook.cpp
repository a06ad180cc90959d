// Shell hook: tells the program about every new top-level window.
#include "hook_procs.h"
#include "shared_settings.h"
#include "exports.h"

LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HSHELL_WINDOWCREATED && !g_shared.Locked) PostToProgram(WM_WINDOW_CREATED, wParam, 0);
    return CallNextHookEx(HookFromWord(g_shared.ShellHook), code, wParam, lParam);
}
