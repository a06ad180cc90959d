#include "window_actions.h"

#include <algorithm>

#include "program_windows.h"
#include "taskbar_overlap.h"
#include "window_threads.h"
#include "window_util.h"

namespace app {

namespace {
constexpr int kLowestLevel = 10;

// Windows 2000 has no GetLayeredWindowAttributes: looked up at run time.
using GetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF*, BYTE*, DWORD*);
}  // namespace

HWND ActiveTarget(const shell::ClassFilterList& classFilter) {
    const HWND active = GetForegroundWindow();
    const HWND window = active ? GetAncestor(active, GA_ROOT) : nullptr;
    // A window that has stopped answering would hold this program in the style changes.
    if (!window || fw::ProcessOf(window) == GetCurrentProcessId() || IsHungAppWindow(window)) return nullptr;
    const std::wstring className = fw::ClassName(window);
    if (!shell::IsRuleWindow(window, className) || shell::IsShellOrFilteredWindow(window, classFilter)) return nullptr;
    return window;
}

int LevelOf(HWND window) {
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    static const auto getLayered = reinterpret_cast<GetLayeredFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetLayeredWindowAttributes")));
    BYTE alpha = 255;
    DWORD flags = 0;
    if (!getLayered || !getLayered(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 255;
    return alpha;
}

void ToggleTranslucency(const CLibraryBinding& library, HWND window, int level) {
    if (library.IsTransparent(window))
        library.RemoveTransparent(window);
    else
        library.SetTransparent(window, level);
}

void StepLevel(const CLibraryBinding& library, HWND window, int step) {
    const bool layered = library.IsTransparent(window);
    if (!layered && step >= 0) return;
    const int level = LevelOf(window) + step;
    if (level > 255)
        library.RemoveTransparent(window);
    else
        library.SetTransparent(window, std::max(level, kLowestLevel));
}

void ToggleTopmost(HWND window) {
    const bool onTop = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    // Posted to the window's thread: a hung program does not hold this one.
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    if (fw::IsOtherThreadWindow(window)) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(window, onTop ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0, flags);
}

}  // namespace app
