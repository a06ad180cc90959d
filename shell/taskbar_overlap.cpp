#include "taskbar_overlap.h"

#include <shellapi.h>

#include "shell_names.h"
#include "system_version.h"
#include "window_util.h"

namespace shell {

namespace {

// The shell's own windows, in the order they are tested.
constexpr const wchar_t* kShellClasses[] = {L"Progman",         kTaskbarClass,        L"WorkerW",
                                            L"SHELLDLL_DefView", L"SysListView32",   L"tooltips_class32",
                                            kXpStartMenuClass};

struct TaskbarState {
    UINT edge;
    RECT rect;
    UINT state;
};

// The shell's answer; edge ABE_BOTTOM (nothing to correct) when its taskbar does not
// answer: the question is a message that waits for the answer, on some systems with no
// bound, and a hung shell must not hold the program.
TaskbarState AskShell() {
    TaskbarState t = {};
    t.edge = ABE_BOTTOM;
    const HWND tray = FindWindowW(kTaskbarClass, nullptr);
    if (tray && !fw::SendBounded(tray, WM_NULL, 0, 0)) return t;
    APPBARDATA data = {};
    data.cbSize = sizeof data;
    SHAppBarMessage(ABM_GETTASKBARPOS, &data);
    t.edge = data.uEdge;
    t.rect = data.rc;
    data = {};
    data.cbSize = sizeof data;
    t.state = static_cast<UINT>(SHAppBarMessage(ABM_GETSTATE, &data));
    return t;
}

// Whether the taskbar stays in view over other windows. From Windows 7 on the shell no
// longer reports ABS_ALWAYSONTOP, because the taskbar always is: there only auto-hide
// takes it out of view.
bool AlwaysVisible(UINT state) {
    if (state & ABS_AUTOHIDE) return false;
    if (state & ABS_ALWAYSONTOP) return true;
    return fw::IsWindowsVersionAtLeast(6, 1);
}

void MoveTo(HWND window, int x, int y, UINT flags) {
    // A window of another thread is moved by a request posted to it, so a hung window
    // cannot hold the program.
    if (fw::IsOtherThreadWindow(window)) flags |= SWP_ASYNCWINDOWPOS;
    SetWindowPos(window, HWND_TOP, x, y, 0, 0, flags);
}

}  // namespace

bool IsShellOrFilteredWindow(HWND window, const ClassFilterList& classFilter) {
    const std::wstring cls = fw::ClassName(window);
    for (const wchar_t* shell : kShellClasses)
        if (cls == shell) return true;
    return IsFilteredClass(cls, classFilter);
}

void CorrectTaskbarOverlap(HWND window, const ClassFilterList& classFilter) {
    if (!IsWindow(window) || !IsWindowVisible(window)) return;
    const TaskbarState taskbar = AskShell();
    if (taskbar.edge != ABE_TOP) return;
    if (IsZoomed(window) || IsIconic(window)) return;

    RECT r = {};
    if (!GetWindowRect(window, &r)) return;
    // The screen below the taskbar's top left corner.
    RECT z = {};
    if (const HWND tray = FindWindowW(kTaskbarClass, nullptr)) GetWindowRect(tray, &z);
    z.right = z.left + GetSystemMetrics(SM_CXFULLSCREEN);
    z.bottom = z.top + GetSystemMetrics(SM_CYFULLSCREEN);
    RECT overlap = {};
    if (!IntersectRect(&overlap, &r, &z)) return;
    if (IsShellOrFilteredWindow(window, classFilter)) return;

    if (AlwaysVisible(taskbar.state)) {
        if (!IntersectRect(&overlap, &r, &taskbar.rect) || IsRectEmpty(&overlap)) return;
        // The title bar goes just below the taskbar; left edge and size stay.
        MoveTo(window, r.left, taskbar.rect.bottom, SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (r.top < 0) {
        MoveTo(window, r.left, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    }
}

void RepaintUnderTaskbar(int taskbarTP) {
    if (!taskbarTP) return;
    const HWND tray = FindWindowW(kTaskbarClass, nullptr);
    RECT rc = {};
    if (!tray || !GetWindowRect(tray, &rc)) return;
    // The desktop window's client coordinates are screen coordinates: this reaches the
    // taskbar's area in every top-level window and its frame.
    RedrawWindow(GetDesktopWindow(), &rc, nullptr, kRedrawAllFlags);
}

}  // namespace shell
