#include "process_name.h"

#include <psapi.h>

#include "handles.h"

namespace fw {

namespace {
// Vista and later; 0x1000 is granted for processes that refuse more (elevated ones).
constexpr DWORD kQueryLimitedInformation = 0x1000;
using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);

QueryImageNameFn QueryImageName() {
    return reinterpret_cast<QueryImageNameFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
}

std::wstring LastPart(const wchar_t* path, DWORD length) {
    DWORD start = length;
    while (start > 0 && path[start - 1] != L'\\' && path[start - 1] != L'/') --start;
    return std::wstring(path + start, length - start);
}
}  // namespace

std::wstring ProcessFileName(DWORD processId) {
    if (!processId) return {};
    wchar_t path[MAX_PATH * 2];
    // The full image name also serves a 32-bit caller asking about a 64-bit process.
    if (const QueryImageNameFn query = QueryImageName()) {
        const KernelHandle process(OpenProcess(kQueryLimitedInformation, FALSE, processId));
        DWORD length = MAX_PATH * 2;
        if (process && query(process.get(), 0, path, &length) && length > 0) return LastPart(path, length);
        return {};
    }
    // Windows 2000 and XP.
    const KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return {};
    const DWORD length = GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH * 2);
    return length > 0 ? LastPart(path, length) : std::wstring();
}

std::wstring PathFileName(const std::wstring& path) {
    return LastPart(path.c_str(), static_cast<DWORD>(path.size()));
}

std::wstring FileNameKey(std::wstring name) {
    if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

}  // namespace fw
