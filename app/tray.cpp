// The tray icon, its menu, the pause state and the opening of the settings sheet.
#include "dialog.h"
#include "main_hidden_dlg.h"
#include "about_dlg.h"
#include "resource.h"

#include <iterator>

void CMainHiddenDlg::OnTrayNotify(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_RBUTTONUP:
        if (!SheetOpen) ShowTrayMenu();
        break;
    case WM_LBUTTONDOWN:
        // Whether paused or not, sheet open or not.
        ReassertIconColors();
        break;
    case WM_LBUTTONDBLCLK:
        if (Paused) {
            TrimWorkingSet();
        } else if (!SheetOpen) {
            OpenSettingsSheet(LastSheetPage);
            TrimWorkingSet();
        }
        break;
    default:
        break;
    }
}

namespace {
// The waits before each repeated request: about six minutes in all, then the program
// waits for "TaskbarCreated" or the next apply.
constexpr UINT kTrayRetryDelaysMs[] = {1000, 2000, 4000, 8000, 15000, 30000, 60000, 60000, 60000, 120000};
}  // namespace

void CMainHiddenDlg::ShowTrayIcon() {
    KillTimer(hwnd(), TRAY_RETRY_TIMER_ID);
    if (Tray.Show(!Settings.NoTaskTrayIcon)) {
        TrayRetries = 0;
        return;
    }
    if (TrayRetries >= static_cast<int>(std::size(kTrayRetryDelaysMs))) return;
    SetTimer(hwnd(), TRAY_RETRY_TIMER_ID, kTrayRetryDelaysMs[TrayRetries], nullptr);
}

void CMainHiddenDlg::RetryTrayIcon() {
    ++TrayRetries;
    ShowTrayIcon();
}

void CMainHiddenDlg::ShowTrayMenu() {
    POINT pt = {};
    GetCursorPos(&pt);
    SetForegroundWindow(hwnd());
    fw::Menu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING | (Paused ? MF_GRAYED : 0), ID_TRAY_SETTINGS,
                fw::ResourceString(IDS_MENU_SETTINGS).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_PAUSE,
                fw::ResourceString(Paused ? IDS_MENU_RESUME : IDS_MENU_PAUSE).c_str());
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_ABOUT, fw::ResourceString(IDS_MENU_ABOUT).c_str());
    AppendMenuW(menu.get(), MF_STRING, ID_TRAY_EXIT, fw::ResourceString(IDS_MENU_EXIT).c_str());
    TrackPopupMenu(menu.get(), TPM_RIGHTALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0, hwnd(), nullptr);
    // Lets the menu of a background window close properly the next time it opens.
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void CMainHiddenDlg::OnCommand(UINT id) {
    switch (id) {
    case ID_TRAY_SETTINGS:
        if (!Paused && !SheetOpen) OpenSettingsSheet(1);
        break;
    case ID_TRAY_ABOUT: {
        CAboutDlg about;
        about.DoModal();
        break;
    }
    case ID_TRAY_EXIT:
        Destroy();
        break;
    case ID_TRAY_PAUSE:
        TogglePause();
        break;
    default:
        break;
    }
}

void CMainHiddenDlg::TogglePause() {
    Paused = Paused == 0 ? 1 : 0;
    Library.LockMessage(Paused);
}

void CMainHiddenDlg::OpenSettingsSheet(int startPage) {
    // What the apply at the sheet's OK compares with: the settings as they are now.
    DesktopIcons.TakeModes(Settings.DeskTopIconBkMode, Settings.DeskTopIconTextColorMode);
    AppliedTaskbarTP = Settings.EnableTaskbarTP;
    SheetOpen = 1;
    {
        // Modal: timer ticks, library reports and the Apply button's message are
        // handled meanwhile.
        CClaroviaSheet sheet(IDS_SHEET_CAPTION, hwnd(), startPage, &Settings);
        if (sheet.DoModal() == IDOK) ApplySettings();
        LastSheetPage = sheet.PageIndex;
    }
    SheetOpen = 0;
}
