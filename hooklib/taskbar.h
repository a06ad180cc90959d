// Taskbar and start-menu translucency.
#pragma once

#include <windows.h>

// Re-applies the taskbar level to a shell window that is being activated.
void ApplyTaskbarOnActivation(HWND window);
