#include "startup_shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "com_ptr.h"
#include "library.h"

namespace shell {

namespace {
constexpr wchar_t kShortcutName[] = L"\\Clarovia.lnk";
constexpr wchar_t kDescription[] = L"Clarovia";
}  // namespace

std::wstring StartupShortcutPath() {
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(GetDesktopWindow(), folder, CSIDL_STARTUP, TRUE)) return {};
    return folder + std::wstring(kShortcutName);
}

bool StartupShortcutExists() {
    const std::wstring path = StartupShortcutPath();
    if (path.empty()) return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

void UpdateStartupShortcut(int create) {
    const std::wstring program = fw::ProgramPath();
    const std::wstring link = StartupShortcutPath();
    if (link.empty()) return;
    if (!create) {
        DeleteFileW(link.c_str());
        return;
    }
    if (program.empty()) return;
    // The program's folder is the shortcut's working folder.
    const size_t slash = program.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash);
    const fw::ComScope com;
    if (!com.ok()) return;
    CreateShellLink(link, program, kDescription, nullptr, folder, nullptr, 0, SW_SHOWNORMAL);
}

HRESULT CreateShellLink(const std::wstring& linkPath, const std::wstring& targetPath, const wchar_t* description,
                        const wchar_t* arguments, const std::wstring& workingDirectory, const wchar_t* iconPath,
                        int iconIndex, int showCommand) {
    fw::ComPtr<IShellLinkW> link;
    HRESULT hr = fw::CreateInstance(CLSID_ShellLink, IID_IShellLinkW, link.put_void());
    if (FAILED(hr)) return hr;
    fw::ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.put_void());
    if (FAILED(hr)) return hr;
    link->SetPath(targetPath.c_str());
    link->SetDescription(description);
    // A new link has no arguments and no icon location of its own: set only given ones.
    if (arguments) link->SetArguments(arguments);
    link->SetWorkingDirectory(workingDirectory.c_str());
    if (iconPath) link->SetIconLocation(iconPath, iconIndex);
    link->SetShowCmd(showCommand);
    return file->Save(linkPath.c_str(), TRUE);
}

}  // namespace shell
