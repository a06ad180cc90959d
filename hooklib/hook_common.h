// Small helpers shared by the hook procedures. Everything here is cheap and inline:
// the hooks run inside every other program.
#pragma once

#include <windows.h>

#include "shared_settings.h"

inline bool HasCaptionStyle(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != 0;
}

inline bool IsLayered(HWND window) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

inline bool KeyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

// Whether the window belongs to this process. A hook of the other bitness (this 64-bit
// library beside a 32-bit program) is not called in the window's own thread but,
// marshalled, in the thread that set the hook: there the key states and the active
// window are not the window's, and a change to the message does not reach it, so the
// hook passes such an event on untouched. Asked only where a hook would act.
inline bool InThisProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid == GetCurrentProcessId();
}

// The title bar and the sizing frame: where the click gestures and the wheel act.
inline bool InGestureArea(LRESULT hitTest) {
    switch (hitTest) {
    case HTCAPTION:
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
    case HTBORDER:
        return true;
    default:
        return false;
    }
}
