// The exports of vitrel.dll and the messages its hooks post to the program.
// Shared by the library, the program's binding and the tests.
#pragma once

#include <windows.h>

// Reports posted to the program window given to Start.
enum : UINT {
    WM_SHADE_DBLCLK = WM_USER + 50,    // 0x432: wParam 0, lParam the window
    WM_PAINT_SEEN = WM_USER + 51,      // 0x433: wParam 0, lParam 0
    WM_WINDOW_EVENT = WM_USER + 52,    // 0x434: wParam the window, lParam WM_EXITSIZEMOVE or WM_ACTIVATE
    WM_SHADE_RCLICK = WM_USER + 53,    // 0x435: wParam 0, lParam the window
    WM_WINDOW_CREATED = WM_USER + 61,  // 0x43D: wParam the new top-level window, lParam 0
};

// Function types of the exports, for binding with GetProcAddress.
namespace vitrel {
using StartFn = HHOOK (*)(HWND programWindow);
using EndFn = BOOL (*)();
using IntFn = int (*)(int value);
using EnableTaskbarFn = int (*)(int taskbar, int startMenu);
using SetTransparentFn = int (*)(HWND window, int alpha);
using WindowFn = int (*)(HWND window);
}  // namespace vitrel

// Every export by name with its function type, in ordinal order: the one list from
// which both the program and the tests bind the library.
#define VITREL_EXPORTS(X)                                                                                    \
    X(Start, StartFn) X(End, EndFn) X(LockMessage, IntFn) X(SetClaroviaValue, IntFn) X(SetMoveTPValue, IntFn) \
    X(SetSizingTPValue, IntFn) X(SetTaskbarTPValue, IntFn) X(SetWheelTPValue, IntFn) X(EnableSClickTP, IntFn) \
    X(EnableMClickTP, IntFn) X(EnableWheelTP, IntFn) X(EnableMoveTP, IntFn) X(EnableSizingTP, IntFn)          \
    X(EnableTaskbarTP, EnableTaskbarFn) X(SetTransparent, SetTransparentFn) X(RemoveTransparent, WindowFn)   \
    X(EnableShadeTP, IntFn) X(EnableStartButtonTextTP, IntFn) X(EnableOverlapTP, IntFn)                       \
    X(EnableMoveTPLimit, IntFn) X(SetMoveTPW, IntFn) X(SetMoveTPH, IntFn) X(IsTransparent, WindowFn)          \
    X(EnableTopmostTP, IntFn) X(ShadeArea, IntFn) X(ShadeRight, IntFn)

namespace vitrel {
// The bound entries; a missing export stays null.
struct Exports {
#define VITREL_ENTRY(name, type) type name = nullptr;
    VITREL_EXPORTS(VITREL_ENTRY)
#undef VITREL_ENTRY

    void Bind(HMODULE module) {
#define VITREL_LOOKUP(name, type) \
    name = reinterpret_cast<type>(reinterpret_cast<void*>(GetProcAddress(module, #name)));
        VITREL_EXPORTS(VITREL_LOOKUP)
#undef VITREL_LOOKUP
    }
};
}  // namespace vitrel

#ifdef VITREL_BUILDING
extern "C" {
HHOOK Start(HWND programWindow);
BOOL End();
int LockMessage(int flag);
int SetClaroviaValue(int alpha);
int SetMoveTPValue(int alpha);
int SetSizingTPValue(int alpha);
int SetTaskbarTPValue(int alpha);
int SetWheelTPValue(int step);
int EnableSClickTP(int flag);
int EnableMClickTP(int flag);
int EnableWheelTP(int flag);
int EnableMoveTP(int flag);
int EnableSizingTP(int flag);
int EnableTaskbarTP(int taskbar, int startMenu);
int SetTransparent(HWND window, int alpha);
int RemoveTransparent(HWND window);
int EnableShadeTP(int flag);
int EnableStartButtonTextTP(int flag);
int EnableOverlapTP(int flag);
int EnableMoveTPLimit(int flag);
int SetMoveTPW(int pixels);
int SetMoveTPH(int pixels);
int IsTransparent(HWND window);
int EnableTopmostTP(int flag);
int ShadeArea(int area);
int ShadeRight(int flag);
}
#endif
