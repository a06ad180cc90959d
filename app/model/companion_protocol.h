// Between the 64-bit program and its 32-bit companion, which sets the hooks of a 32-bit
// vitrel.dll so that 32-bit programs get the gestures too: where the companion lies,
// what it is started with, the messages each posts to the other and the companion's
// exit codes. Shared by the program, the companion and the tests.
#pragma once

#include <windows.h>

namespace companion {

// Beside the program: its own folder holds it and the 32-bit library it loads, which
// is the x86 build's vitrel.dll under a name of its own (Windows wants the 32-bit and
// the 64-bit library of a global hook to have different names).
inline constexpr wchar_t kFolder[] = L"x86\\";
inline constexpr wchar_t kExe[] = L"Clarovia32.exe";
inline constexpr wchar_t kLibrary[] = L"vitrel32.dll";
// The class of its message-only window.
inline constexpr wchar_t kWindowClass[] = L"Clarovia32 Companion";
// Held by the companion of one program (its process id in hexadecimal follows): a
// second one started meanwhile ends at once.
inline constexpr wchar_t kMutexPrefix[] = L"Local\\Clarovia32 companion of ";

// The command line: "<program window> <program process id>", both in decimal; the
// window is the program's hidden window, which the 32-bit hooks report to.

enum : UINT {
    // Companion to program once its hooks are set: lParam its window (32 significant
    // bits). The program then sends it the state the library has now.
    WM_COMPANION_READY = WM_APP + 0x310,
    // Program to companion: call the library's export of ordinal wParam with lParam.
    // Only the exports that take one int (the lock and the setters) come this way.
    WM_COMPANION_CALL = WM_APP + 0x311,
    // Program to companion: take the hooks away and end.
    WM_COMPANION_END = WM_APP + 0x312,
    // Posted by the program to itself when the companion's process has ended.
    WM_COMPANION_ENDED = WM_APP + 0x313,
};

// The companion's exit codes. The program starts it again after any other end (a
// crash, a kill), but not after one of these: they would only repeat.
enum : DWORD {
    kExitDone = 0,          // ended as asked, or with its program
    kExitBadCommand = 10,   // no program window and process on the command line
    kExitDuplicate = 11,    // another companion serves that program
    kExitNoLibrary = 12,    // its vitrel.dll is missing, damaged or lacks the exports
    kExitRefused = 13,      // elevated, and its folder can be changed without elevation
    kExitNoWindow = 14,     // its window could not be made
};

// A handle of a report or message from the other width: 32 significant bits, widened
// with sign extension as Windows does (LongToHandle).
inline HWND WindowFromReport(UINT_PTR value) {
    return static_cast<HWND>(reinterpret_cast<void*>(static_cast<INT_PTR>(static_cast<LONG>(value))));
}

}  // namespace companion
