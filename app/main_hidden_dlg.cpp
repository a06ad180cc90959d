// The hidden main window: construction, initialisation and the dispatch of every
// message it receives.
#include "main_hidden_dlg.h"

#include <psapi.h>

#include "resource.h"
#include "vitrel_api.h"

namespace {
std::wstring StartButtonText() {
    const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    const HWND button = tray ? GetWindow(tray, GW_CHILD) : nullptr;
    wchar_t text[260] = {};
    if (button) GetWindowTextW(button, text, 260);
    return text;
}
}  // namespace

CMainHiddenDlg::CMainHiddenDlg(const fw::Profile& profile)
    : fw::Dialog(IDD_HIDDEN, nullptr),
      AppIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))),
      Settings(profile) {
    InitialStartButtonText = StartButtonText();
}

CMainHiddenDlg::~CMainHiddenDlg() = default;

BOOL CMainHiddenDlg::OnInitDialog() {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));

    if (!Library.Bind(hwnd())) {
        // The user has been told; end in the orderly way, without icon or settings.
        PostMessageW(hwnd(), WM_COMMAND, ID_TRAY_EXIT, 0);
        return TRUE;
    }
    FillTrayIcon();
    UpdateTrayIcon();
    AppliedIconTextColor = static_cast<COLORREF>(Settings.DeskTopIconTextColor);
    ApplySettings();
    TrimWorkingSet();
    return TRUE;
}

INT_PTR CMainHiddenDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ENDSESSION:
        // Windows may end without a normal exit: keep the settings whatever wParam says.
        Settings.Save();
        return Default();
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        TrimWorkingSet();
        return Handled(0);
    case WM_TIMER:
        ClockTick();
        return Handled(0);
    case WM_SHADE_DBLCLK:
    case WM_SHADE_RCLICK:
        ToggleShade(reinterpret_cast<HWND>(lParam));
        return Handled(0);
    case WM_PAINT_SEEN:
    case WM_WINDOW_EVENT:
    case WM_WINDOW_CREATED:
        // Reports for the shell tweaks; consumed here.
        return Handled(0);
    case WM_USER + 111:
        return Handled(0);
    case WM_TRAYNOTIFY:
        OnTrayNotify(lParam);
        return Handled(0);
    case WM_APPLY_SETTINGS:
        ApplySettings();
        return Handled(0);
    default:
        return Default();
    }
}

void CMainHiddenDlg::TrimWorkingSet() {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd(), &pid);
    fw::KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
    if (process) EmptyWorkingSet(process.get());
}

void CMainHiddenDlg::ClockTick() {
    Clock.Tick(Settings.TimeFormat, Settings.ShowClockClassName != 0, Settings.ClassFilter);
}

void CMainHiddenDlg::RestoreClockTitle() { Clock.RestoreTitle(); }
