// Layered-window primitives used by every rule of the library.
#pragma once

#include <windows.h>

// Sets the alpha of an already layered window through this process's entry.
void SetLayeredAlpha(HWND window, int alpha);
