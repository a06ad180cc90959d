// The five hook procedures that Start installs, in its order.
#pragma once

#include <windows.h>

LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMessageHookProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ShellHookProc(int code, WPARAM wParam, LPARAM lParam);

// Reports to the program: posted, never sent.
// Whether the report was posted: an elevated program does not get the reports of
// programs with fewer rights where its window does not let them through.
bool PostToProgram(UINT message, WPARAM wParam, LPARAM lParam);
