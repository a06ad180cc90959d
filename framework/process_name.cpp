#include "process_name.h"

#include <psapi.h>

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

// The process opened to read its file name, and the name ("" when it cannot be read).
KernelHandle OpenForName(DWORD processId, std::wstring& name) {
    name.clear();
    wchar_t path[MAX_PATH * 2];
    // The full image name also serves a 32-bit caller asking about a 64-bit process.
    if (const QueryImageNameFn query = QueryImageName()) {
        KernelHandle process(OpenProcess(kQueryLimitedInformation | SYNCHRONIZE, FALSE, processId));
        DWORD length = MAX_PATH * 2;
        if (process && query(process.get(), 0, path, &length) && length > 0) name = LastPart(path, length);
        return process;
    }
    // Windows 2000 and XP.
    KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, processId));
    if (!process) return process;
    const DWORD length = GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH * 2);
    if (length > 0) name = LastPart(path, length);
    return process;
}
}  // namespace

std::wstring ProcessFileName(DWORD processId) {
    std::wstring name;
    if (processId) OpenForName(processId, name);
    return name;
}

std::wstring PathFileName(const std::wstring& path) {
    return LastPart(path.c_str(), static_cast<DWORD>(path.size()));
}

std::wstring FileNameKey(std::wstring name) {
    if (!name.empty()) CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    return name;
}

const std::wstring& ProcessNames::KeyOf(DWORD processId) {
    if (!processId) return none_;
    ++uses_;
    for (Entry& e : entries_)
        if (e.processId == processId) {
            e.lastUse = uses_;
            return e.key;
        }
    std::wstring name;
    KernelHandle process = OpenForName(processId, name);
    // A process that cannot be asked is not remembered: its id may pass to another.
    if (!process || name.empty()) return none_;
    Entry* slot = nullptr;
    if (entries_.size() < kRemembered) {
        entries_.push_back({});
        slot = &entries_.back();
    } else {
        slot = &entries_[0];
        for (Entry& e : entries_)
            if (e.lastUse < slot->lastUse) slot = &e;
    }
    *slot = {processId, std::move(process), FileNameKey(std::move(name)), uses_};
    return slot->key;
}

}  // namespace fw
