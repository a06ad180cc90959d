// The shortcut "Clarovia.lnk" in the user's Startup folder, through which the shell
// starts the program at log-on.
#pragma once

#include <windows.h>

#include <string>

namespace shell {

// The shortcut's full path; the Startup folder is made if it does not exist ("" if the
// shell cannot name it).
std::wstring StartupShortcutPath();

bool StartupShortcutExists();

// Creates the shortcut to the running program when `create` is non-zero, else deletes it.
void UpdateStartupShortcut(int create);

// Writes one shell link file; returns the result of the last step reached.
HRESULT CreateShellLink(const std::wstring& linkPath, const std::wstring& targetPath, const wchar_t* description,
                        const wchar_t* arguments, const std::wstring& workingDirectory, const wchar_t* iconPath,
                        int iconIndex, int showCommand);

}  // namespace shell
