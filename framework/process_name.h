// Which program a window belongs to: its process's executable file name, as the
// system names it, and a form of file names that compares as Windows compares them.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// The file name of process `processId`'s executable ("notepad.exe"); "" when the process
// has ended or this one may not ask (a process of another user, a protected one).
std::wstring ProcessFileName(DWORD processId);

// The file name of a path: what follows its last backslash or slash (all of it if none).
std::wstring PathFileName(const std::wstring& path);

// `name` in capitals, character by character: two file names are the same file name
// exactly when their keys are equal.
std::wstring FileNameKey(std::wstring name);

}  // namespace fw
