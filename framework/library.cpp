#include "library.h"

#include <string>

namespace fw {

std::wstring ProgramPath() {
    // Grows the buffer until the whole path fits (paths may exceed MAX_PATH).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

HMODULE SystemLibrary(const wchar_t* name) {
    if (const HMODULE loaded = GetModuleHandleW(name)) return loaded;
    // From the system folder only, never from the program's or the current folder.
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + name;
    return LoadLibraryW(path.c_str());
}

std::wstring ProgramFolder() {
    std::wstring folder = ProgramPath();
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder;
}

}  // namespace fw
