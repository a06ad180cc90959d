// Reports to the program: always posted, never sent, so a hook never waits on it.
#include "hook_procs.h"
#include "shared_settings.h"

bool PostToProgram(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND program = WindowFromWord(g_shared.ProgramWindow);
    // A null window would post into the queue of whatever thread runs the hook.
    return program && PostMessageW(program, message, wParam, lParam);
}
