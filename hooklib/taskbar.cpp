// Taskbar and start-menu translucency: applied at once by EnableTaskbarTP and again
// whenever one of these windows is activated, which also covers a start menu the
// shell shows later and a taskbar it re-creates.

#include "taskbar.h"

#include "hook_common.h"
#include "layered.h"
#include "shared_settings.h"
#include "exports.h"
#include "window_class.h"

namespace {
constexpr int kOpaque = 255;

void ApplyStartMenuRule(HWND menu, int taskbar, int startMenu, int level) {
    if (!taskbar || !startMenu || level == kOpaque) {
        RemoveTransparent(menu);
    } else if (level < kOpaque) {
        // A layered start menu gets its alpha directly, which reaches a hidden one too.
        if (IsLayered(menu))
            SetLayeredAlpha(menu, level);
        else
            SetTransparent(menu, level);
    }
}
}  // namespace

extern "C" int EnableTaskbarTP(int taskbar, int startMenu) {
    g_shared.TaskbarTP = taskbar;
    g_shared.StartMenuTP = startMenu;
    const int level = g_shared.TaskbarTPValue;

    const HWND tray = FindWindowW(kTaskbarClass, nullptr);
    if (tray) {
        if (taskbar && level < kOpaque)
            SetTransparent(tray, level);
        else
            RemoveTransparent(tray);
    }
    if (const HWND xp = FindWindowW(kXpStartMenuClass, nullptr))
        ApplyStartMenuRule(xp, taskbar, startMenu, level);
    else if (const HWND classic = FindWindowW(kClassicStartMenuClass, nullptr))
        ApplyStartMenuRule(classic, taskbar, startMenu, level);

    if (tray && IsWindowVisible(tray)) RedrawWindow(tray, nullptr, nullptr, kRedrawAllFlags);
    return taskbar;
}

void ApplyTaskbarOnActivation(HWND window) {
    switch (ClassOf(window)) {
    case ShellClass::Taskbar:
        if (g_shared.TaskbarTP && g_shared.TaskbarTPValue < kOpaque && !IsLayered(window))
            SetTransparent(window, g_shared.TaskbarTPValue);
        break;
    case ShellClass::XpStartMenu:
        // Here a level of 255 still makes the menu layered, at full opacity.
        if (g_shared.TaskbarTP && g_shared.StartMenuTP && !IsLayered(window))
            SetTransparent(window, g_shared.TaskbarTPValue);
        else
            InvalidateRect(window, nullptr, TRUE);
        break;
    case ShellClass::ClassicStartMenu:
        // The classic menu counts only on a system without the XP-style one.
        if (g_shared.TaskbarTP && g_shared.StartMenuTP && !IsLayered(window) &&
            !FindWindowW(kXpStartMenuClass, nullptr))
            SetTransparent(window, g_shared.TaskbarTPValue);
        break;
    case ShellClass::Gone:
    case ShellClass::Other:
        break;
    }
}
