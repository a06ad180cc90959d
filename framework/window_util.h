// Reading and talking to windows that may belong to another process: class names and
// texts through the wide API, and sent messages whose wait is bounded, so that a hung
// window never hangs the caller.
#pragma once

#include <windows.h>

#include <string>

#include "window_threads.h"

namespace fw {

// The window's class name ("" when the window is gone).
std::wstring ClassName(HWND window);
// Whether the window's class is exactly `name` (case-sensitive).
bool HasClass(HWND window, const wchar_t* name);

// The window's text, whole. Read without a message for a window of another process,
// so a hung one does not hold the caller.
std::wstring WindowText(HWND window);

// A bounded send (window_threads.h) of the program's: whether the window answered, and
// its answer. The program remembers the last four threads that did not answer.
bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr,
                 UINT timeoutMs = kForeignTimeoutMs);

// Lets `messages` reach `window` from programs with fewer rights when this one runs
// elevated (the system's message filter, looked up at run time: Windows 2000 and XP
// have none, and need none).
void AllowFromLowerRights(HWND window, const UINT* messages, size_t count);

// The id of the process the window belongs to (0 when the window is gone).
DWORD ProcessOf(HWND window);

}  // namespace fw
