// What callers of vitrel.dll may use: its exports and the messages its hooks post to
// the program. Shared by the library, the program's binding and the tests.
#pragma once

#include <windows.h>

#include "vitrel_exports.h"

// Reports posted to the program window given to Start.
enum : UINT {
    WM_SHADE_DBLCLK = WM_USER + 50,    // 0x432: wParam 0, lParam the window
    WM_PAINT_SEEN = WM_USER + 51,      // 0x433: wParam 0, lParam 0
    WM_WINDOW_EVENT = WM_USER + 52,    // 0x434: wParam the window, lParam WM_EXITSIZEMOVE or WM_ACTIVATE
    WM_SHADE_RCLICK = WM_USER + 53,    // 0x435: wParam 0, lParam the window
    WM_WINDOW_CREATED = WM_USER + 61,  // 0x43D: wParam the new top-level window, lParam 0
};

// The exports' signatures, and pointers to them for binding with GetProcAddress.
namespace vitrel {
using StartSig = HHOOK(HWND programWindow);
using EndSig = BOOL();
using IntSig = int(int value);
using EnableTaskbarSig = int(int taskbar, int startMenu);
using SetTransparentSig = int(HWND window, int alpha);
using WindowSig = int(HWND window);
using StartFn = StartSig*;
using EndFn = EndSig*;
using IntFn = IntSig*;
using EnableTaskbarFn = EnableTaskbarSig*;
using SetTransparentFn = SetTransparentSig*;
using WindowFn = WindowSig*;

// The bound entries; a missing export stays null.
struct Exports {
#define VITREL_EXPORT(name, signature, ordinal) signature* name = nullptr;
    VITREL_EXPORTS
#undef VITREL_EXPORT

    void Bind(HMODULE module) {
#define VITREL_EXPORT(name, signature, ordinal) \
    name = reinterpret_cast<signature*>(reinterpret_cast<void*>(GetProcAddress(module, #name)));
        VITREL_EXPORTS
#undef VITREL_EXPORT
    }
};
}  // namespace vitrel
