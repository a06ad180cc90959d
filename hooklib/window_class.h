// Recognising shell windows by class name: exact, case-sensitive, read through the
// wide API so that no code page conversion is involved.
#pragma once

#include <windows.h>

#include "shell_names.h"

// Gone: the handle names no window (any more).
enum class ShellClass { Gone, Other, Taskbar, XpStartMenu, ClassicStartMenu };

// No C runtime here: a plain comparison loop.
inline bool SameText(const wchar_t* a, const wchar_t* b) {
    while (*a && *a == *b) { ++a; ++b; }
    return *a == *b;
}

inline ShellClass ClassOf(HWND window) {
    wchar_t name[256];
    if (GetClassNameW(window, name, 256) <= 0) return ShellClass::Gone;
    if (SameText(name, kTaskbarClass)) return ShellClass::Taskbar;
    if (SameText(name, kXpStartMenuClass)) return ShellClass::XpStartMenu;
    if (SameText(name, kClassicStartMenuClass)) return ShellClass::ClassicStartMenu;
    return ShellClass::Other;
}
