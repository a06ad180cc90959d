// The text of the taskbar's start button (the first child of "Shell_TrayWnd"), set from
// outside and won back whenever the shell has rewritten it.
#pragma once

#include <windows.h>

#include <string>

namespace shell {

// The start button, or null when there is no taskbar.
HWND FindStartButton();

// The button's text, whole ("" without a taskbar).
std::wstring ReadStartButtonText();

// Sets the button's text unless it shows exactly that already; true if it set it.
// Texts of any length compare whole, so a long one is not set again on every call.
bool SetStartButtonText(const std::wstring& text);

// Whether the button answers now: then it has also done with every text sent to it
// before, one it took late included.
bool StartButtonAnswers();

}  // namespace shell
