// The apply step: turns the settings record into effect, in one fixed order, and
// runs the clock timer.
#include "main_hidden_dlg.h"
#include "shell_names.h"
#include "startup_shortcut.h"

namespace {
constexpr UINT kClockPeriodMs = 1000;
}  // namespace

void CMainHiddenDlg::ApplySettings() {
    Library.Push(Settings);
    SetStartButtonText(Settings.EnableStartButtonTP ? Settings.StartButtonText : InitialStartButtonText);
    Library.EnableOverlapTP(Settings.EnableOverlapTP);
    TweakAllTopLevelWindows();
    Library.EnableTopmostTP(Settings.EnableTopmostTP);
    ApplyDesktopIconText();
    RedrawTaskbarIfChanged();
    ReconcileStartupShortcut();
    UpdateClockTimer();
    ShowTrayIcon();
}

void CMainHiddenDlg::RedrawTaskbarIfChanged() {
    if (AppliedTaskbarTP == Settings.EnableTaskbarTP) return;
    if (const HWND tray = FindWindowW(kTaskbarClass, nullptr)) {
        // The whole taskbar, its frame and its children, in its own coordinates.
        RedrawWindow(tray, nullptr, nullptr, kRedrawAllFlags);
    }
    AppliedTaskbarTP = Settings.EnableTaskbarTP;
}

void CMainHiddenDlg::ReconcileStartupShortcut() {
    // An existing shortcut is never rewritten.
    const bool exists = StartupShortcutExists();
    if (Settings.Startup && !exists)
        UpdateStartupShortcut(Settings.Startup);
    else if (!Settings.Startup && exists)
        UpdateStartupShortcut(0);
}

void CMainHiddenDlg::UpdateClockTimer() {
    if (Settings.ShowClock) {
        if (Settings.TimeFormat.empty()) Settings.TimeFormat = kDefaultTimeFormat;
        SetTimer(hwnd(), CLOCK_TIMER_ID, kClockPeriodMs, nullptr);
    } else {
        RestoreClockTitle();
        // A window that did not take its own title back is asked again every second.
        if (Clock.carriers().empty())
            KillTimer(hwnd(), CLOCK_TIMER_ID);
        else
            SetTimer(hwnd(), CLOCK_TIMER_ID, kClockPeriodMs, nullptr);
    }
}
