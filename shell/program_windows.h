// The windows a rule per program may act on: captioned top-level windows that no other
// window owns, of other programs, and not the shell's own (taskbar, desktop, start
// menu). And the open ones among them, with the program each belongs to.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shell {

// Whether the window is one a rule may act on (shown or not). `className` is its class.
bool IsRuleWindow(HWND window, const std::wstring& className);

struct ProgramWindow {
    HWND window;
    std::wstring program;  // the executable's file name
    std::wstring title;
    std::wstring className;
};

// The visible windows a rule may act on, from the top of the z-order down; a window
// whose program cannot be told is left out.
std::vector<ProgramWindow> OpenProgramWindows();

}  // namespace shell
