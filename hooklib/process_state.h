// What each process that maps the library keeps for itself.
#pragma once

#include <windows.h>

#include "window_threads.h"

using SetLayeredProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
using GetLayeredProc = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);

struct ProcessState {
    HINSTANCE module;
    // Looked up by each process for itself: an entry point is only valid in the
    // process that resolved it.
    SetLayeredProc setLayered;
    GetLayeredProc getLayered;
    // The last thread of another window that did not answer a sent message in time.
    fw::UnansweredThreads<1> unanswered;
};

extern ProcessState g_process;
