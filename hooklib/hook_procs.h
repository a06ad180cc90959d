// The five hook procedures that Start installs, in its order.
#pragma once

#include <windows.h>

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);

// Reports to the program: posted, never sent.
void PostToProgram(UINT message, WPARAM wParam, LPARAM lParam);
