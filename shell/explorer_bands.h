// The menu band and the Windows logo band of the shell's folder windows, hidden or
// shown through the folder window's rebar in the shell's process.
#pragma once

#include <windows.h>

// For a folder window ("ExploreWClass", "CabinetWClass" > "WorkerW" > "ReBarWindow32"):
// shows the logo band unless `hideFlag`, and the menu band (a toolbar without drop-down
// arrows) unless `hideMenu`. Any other window is left alone, as is a folder window whose
// process cannot be reached.
void ApplyExplorerBands(HWND window, int hideFlag, int hideMenu);
