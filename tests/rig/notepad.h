// Wine's notepad as a real program of another process for the tests of the running
// program: started, its main window found, and ended with the test.
#pragma once

#include <windows.h>

#include <string>

#include "rig.h"

namespace rig {

inline constexpr wchar_t kNotepadExe[] = L"notepad.exe";
inline constexpr wchar_t kNotepadClass[] = L"Notepad";

class Notepad {
public:
    // Wine's notepad of this program's width, or the one at `exe`.
    explicit Notepad(const std::wstring& exe = kNotepadExe) {
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        std::wstring command = L"\"" + exe + L"\"";
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) return;
        rig::WaitFor([&] { return (window_ = Find(pi_.dwProcessId)) != nullptr; }, 15000);
    }
    ~Notepad() {
        if (!pi_.hProcess) return;
        TerminateProcess(pi_.hProcess, 0);
        WaitForSingleObject(pi_.hProcess, 10000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;

    HWND window() const { return window_; }

private:
    struct Search {
        DWORD processId;
        HWND found;
    };
    static BOOL CALLBACK Visit(HWND w, LPARAM p) {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (pid != s->processId || !IsWindowVisible(w) || std::wstring(cls) != kNotepadClass) return TRUE;
        s->found = w;
        return FALSE;
    }
    static HWND Find(DWORD processId) {
        Search search = {processId, nullptr};
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION pi_ = {};
    HWND window_ = nullptr;
};

}  // namespace rig
