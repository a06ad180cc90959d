// Which program a window belongs to: its process's executable file name, as the
// system names it, and a form of file names that compares as Windows compares them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "handles.h"

namespace fw {

// The file name of process `processId`'s executable ("notepad.exe"); "" when the process
// has ended or this one may not ask (a process of another user, a protected one).
std::wstring ProcessFileName(DWORD processId);

// The file name of a path: what follows its last backslash or slash (all of it if none).
std::wstring PathFileName(const std::wstring& path);

// `name` in capitals, character by character: two file names are the same file name
// exactly when their keys are equal.
std::wstring FileNameKey(std::wstring name);

// The FileNameKey of processes' file names, remembered for the processes asked about
// last. Each is kept open while it is remembered, so that its id cannot pass to another
// process meanwhile: a remembered id always names the same process.
class ProcessNames {
public:
    // "" when the process's file name cannot be told.
    const std::wstring& KeyOf(DWORD processId);

private:
    struct Entry {
        DWORD processId;
        KernelHandle process;
        std::wstring key;
        unsigned lastUse;
    };
    static constexpr size_t kRemembered = 32;
    std::vector<Entry> entries_;
    unsigned uses_ = 0;
    std::wstring none_;
};

}  // namespace fw
