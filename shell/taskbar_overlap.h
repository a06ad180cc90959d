// Windows whose title bar lies under a top-docked taskbar (or above the screen) are
// moved down; what lies under a translucent taskbar is repainted when a window is
// activated; and the classes the program leaves alone.
#pragma once

#include <windows.h>

#include "class_filter.h"

namespace shell {

// True for the shell's own windows ("Progman", "Shell_TrayWnd", "WorkerW",
// "SHELLDLL_DefView", "SysListView32", "tooltips_class32", "DV2ControlHost") and every
// class of the user's filter, compared exactly.
bool IsShellOrFilteredWindow(HWND window, const ClassFilterList& classFilter);

// Examines one window and moves it below a top taskbar (or onto the screen) if needed.
void CorrectTaskbarOverlap(HWND window, const ClassFilterList& classFilter);

// Repaints the taskbar's area in every window; nothing unless `taskbarTP` is on.
void RepaintUnderTaskbar(int taskbarTP);

}  // namespace shell
