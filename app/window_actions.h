// What the hotkeys do to the active window, with the gestures' own primitives: its
// translucency at a level, a step of its level, always on top.
#pragma once

#include <windows.h>

#include "class_filter.h"
#include "library_binding.h"

namespace app {

// The window a hotkey acts on: the active window, if it is a captioned top-level window
// of another program, no shell window, of no filtered class and not hung; else none.
HWND ActiveTarget(const shell::ClassFilterList& classFilter);
// The alpha of `window`: 255 while it is not layered (or layered for a colour key alone).
int LevelOf(HWND window);
// Translucent at `level`, or opaque again if it was translucent.
void ToggleTranslucency(const CLibraryBinding& library, HWND window, int level);
// One step of `step` more opaque (positive) or less (negative), down to 10; a step
// beyond 255 makes it opaque. An opaque window takes no step up.
void StepLevel(const CLibraryBinding& library, HWND window, int step);
// Always on top, or not any more.
void ToggleTopmost(HWND window);

}  // namespace app
