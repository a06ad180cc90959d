// The apply step: turns the settings record into effect, in one fixed order, and
// runs the clock timer.
#include "main_hidden_dlg.h"

namespace {
constexpr UINT_PTR CLOCK_TIMER_ID = 1;
constexpr UINT kClockPeriodMs = 1000;
constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME;
}  // namespace

void CMainHiddenDlg::ApplySettings() {
    Library.Push(Settings);
    Library.EnableOverlapTP(Settings.EnableOverlapTP);
    Library.EnableTopmostTP(Settings.EnableTopmostTP);
    RedrawTaskbarIfChanged();
    UpdateClockTimer();
    UpdateTrayIcon();
}

void CMainHiddenDlg::RedrawTaskbarIfChanged() {
    if (AppliedTaskbarTP == Settings.EnableTaskbarTP) return;
    if (const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) {
        // The whole taskbar, its frame and its children, in its own coordinates.
        RedrawWindow(tray, nullptr, nullptr, kRedrawFlags);
    }
    AppliedTaskbarTP = Settings.EnableTaskbarTP;
}

void CMainHiddenDlg::UpdateClockTimer() {
    if (Settings.ShowClock) {
        if (Settings.TimeFormat.empty()) Settings.TimeFormat = kDefaultTimeFormat;
        SetTimer(hwnd(), CLOCK_TIMER_ID, kClockPeriodMs, nullptr);
    } else {
        RestoreClockTitle();
        KillTimer(hwnd(), CLOCK_TIMER_ID);
    }
}
