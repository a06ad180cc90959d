// Entry point of vitrel.dll. The library links no C runtime, so this is the image's
// entry point itself. At attach it keeps its module handle and binds the two
// layered-window functions of this process; nothing else happens here.
#include "process_state.h"
#include "shared_settings.h"

ProcessState g_process;

extern "C" BOOL WINAPI VitrelEntry(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_process.module = instance;
        DisableThreadLibraryCalls(instance);
        HMODULE user32 = GetModuleHandleA("USER32.DLL");
        if (user32) {
            g_process.setLayered = reinterpret_cast<SetLayeredProc>(
                reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")));
            g_process.getLayered = reinterpret_cast<GetLayeredProc>(
                reinterpret_cast<void*>(GetProcAddress(user32, "GetLayeredWindowAttributes")));
        }
#if !defined(_WIN64)
        // The record's two entry words, as the 32-bit library has always kept them.
        // Every call goes through this process's own lookup above.
        g_shared.SetLayeredFn = WordFromHandle(reinterpret_cast<void*>(g_process.setLayered));
        g_shared.GetLayeredFn = WordFromHandle(reinterpret_cast<void*>(g_process.getLayered));
#endif
    }
    return TRUE;
}
