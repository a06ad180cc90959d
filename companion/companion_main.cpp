// Clarovia32.exe: the 32-bit companion of the 64-bit program. It loads the 32-bit
// vitrel.dll of its own folder the way the program loads its own, sets its hooks with
// the program's window as the one they report to, calls the library's setters as the
// program tells it, and ends with the program. It shows nothing: whatever goes wrong
// is its exit code, which the program reads and tells the user in its about box.
#include <windows.h>

#include <type_traits>

#include "companion_protocol.h"
#include "elevation.h"
#include "handles.h"
#include "library.h"
#include "vitrel_api.h"

namespace {

vitrel::Exports g_library;

template <typename Sig>
void CallIfOneInt(Sig* fn, LPARAM value) {
    if constexpr (std::is_same_v<Sig, vitrel::IntSig>) {
        if (fn) fn(static_cast<int>(value));
    }
}

// Calls the export of `ordinal` if it takes one int. The taskbar and the start menu
// (EnableTaskbarTP, two arguments) belong to the program: they are 64-bit windows.
void CallExport(WPARAM ordinal, LPARAM value) {
#define VITREL_EXPORT(name, signature, number) \
    if (ordinal == (number)) return CallIfOneInt(g_library.name, value);
    VITREL_EXPORTS
#undef VITREL_EXPORT
}

LRESULT CALLBACK CompanionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case companion::WM_COMPANION_CALL:
        CallExport(wParam, lParam);
        return 0;
    case companion::WM_COMPANION_END:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// "<window> <process id>", both decimal.
bool ParseCommandLine(const wchar_t* text, UINT_PTR& window, DWORD& pid) {
    UINT_PTR numbers[2] = {};
    for (UINT_PTR& n : numbers) {
        while (*text == L' ') ++text;
        if (*text < L'0' || *text > L'9') return false;
        for (; *text >= L'0' && *text <= L'9'; ++text) {
            n = n * 10 + static_cast<UINT_PTR>(*text - L'0');
            if (n > 0xFFFFFFFFu) return false;
        }
    }
    while (*text == L' ') ++text;
    if (*text || !numbers[0] || !numbers[1]) return false;
    window = numbers[0];
    pid = static_cast<DWORD>(numbers[1]);
    return true;
}

DWORD Run(const wchar_t* commandLine) {
    UINT_PTR windowValue = 0;
    DWORD pid = 0;
    if (!ParseCommandLine(commandLine, windowValue, pid)) return companion::kExitBadCommand;
    const HWND programWindow = companion::WindowFromReport(windowValue);

    wchar_t mutexName[64];
    wsprintfW(mutexName, L"%s%08X", companion::kMutexPrefix, pid);
    const fw::KernelHandle mutex(CreateMutexW(nullptr, TRUE, mutexName));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return companion::kExitDuplicate;

    // The program's end is the companion's: watched by its process, so that a killed
    // program leaves no hooks behind.
    const fw::KernelHandle program(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!program) return companion::kExitDone;

    // As the program does: by full path from its own folder, and not at all when
    // elevated from a folder that a program without elevation could change.
    const std::wstring path = fw::ProgramFolder() + companion::kLibrary;
    if (fw::RunsElevated() && fw::ChangeableWithoutElevation(path)) return companion::kExitRefused;
    fw::Library library;
    if (library.Load(path.c_str())) g_library.Bind(library.handle());
    if (!library.loaded() || !g_library.Start || !g_library.End || !g_library.LockMessage)
        return companion::kExitNoLibrary;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = CompanionWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = companion::kWindowClass;
    RegisterClassW(&wc);
    const HWND window =
        CreateWindowExW(0, companion::kWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!window) return companion::kExitNoWindow;

    // The hooks a killed companion left go first: End takes away the ones the record
    // names (Windows removes a thread's hooks with the thread, Wine keeps them; a hook
    // already gone is not found). Then ours, locked (as the record was left, or as it
    // starts) until the program says otherwise.
    g_library.End();
    g_library.Start(programWindow);
    if (PostMessageW(programWindow, companion::WM_COMPANION_READY, 0,
                     static_cast<LPARAM>(reinterpret_cast<UINT_PTR>(window) & 0xFFFFFFFFu))) {
        for (;;) {
            const HANDLE waited = program.get();
            const DWORD woken = MsgWaitForMultipleObjects(1, &waited, FALSE, INFINITE, QS_ALLINPUT);
            if (woken != WAIT_OBJECT_0 + 1) break;  // the program has ended (or the wait failed)
            MSG msg;
            bool quit = false;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT) quit = true;
                DispatchMessageW(&msg);
            }
            if (quit) break;
        }
    }
    // Its hooks go, and the record stays locked: a hook that outlives its thread (Wine
    // keeps the hooks of a killed companion) does nothing until the next companion is
    // told to unlock.
    g_library.LockMessage(1);
    g_library.End();
    DestroyWindow(window);
    return companion::kExitDone;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    return static_cast<int>(Run(commandLine ? commandLine : L""));
}
