// Windows that the clock and the overlap correction leave alone: the shell's own
// windows and every class of the user's class filter.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool IsShellOrFilteredWindow(HWND window, const std::vector<std::wstring>& classFilter);

// Whether `className` equals one of the filter's names exactly.
bool IsFilteredClass(const std::wstring& className, const std::vector<std::wstring>& classFilter);

std::wstring WindowClassName(HWND window);
