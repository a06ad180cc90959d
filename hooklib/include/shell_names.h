// The shell's windows by class name, and the repaint that covers a window whole: one
// definition for the hook library and the program.
#pragma once

#include <windows.h>

inline constexpr wchar_t kTaskbarClass[] = L"Shell_TrayWnd";
inline constexpr wchar_t kXpStartMenuClass[] = L"DV2ControlHost";
inline constexpr wchar_t kClassicStartMenuClass[] = L"BaseBar";

// Invalidate and erase, frame and child windows included (0x0485).
inline constexpr UINT kRedrawAllFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
