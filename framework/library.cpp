#include "library.h"

#include <string>

namespace fw {

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n < MAX_PATH ? n : 0);
    folder.erase(folder.find_last_of(L"\\/") + 1);
    return folder;
}

}  // namespace fw
