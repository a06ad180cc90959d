// The program's hidden main window: never shown, it owns everything the program
// holds at run time and receives every event as a message.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <list>
#include <string>

#include "app_settings.h"
#include "dialog.h"
#include "handles.h"
#include "library_binding.h"
#include "title_clock.h"

// Private messages of the program.
enum : UINT {
    WM_TRAYNOTIFY = WM_USER + 1000,      // 0x7E8: the tray icon's callback; a second start
    WM_APPLY_SETTINGS = WM_USER + 1039,  // 0x80F: the settings sheet's Apply button
};

// A window this program has shaded and its outer height before.
struct ShadeRecord {
    HWND window;
    int height;
};

class CMainHiddenDlg : public fw::Dialog {
public:
    explicit CMainHiddenDlg(const fw::Profile& profile);
    ~CMainHiddenDlg() override;

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // Shading
    void ToggleShade(HWND window);
    void PurgeShadedWindows();
    static void ResizeKeepingPosition(HWND window, int height);
    void TrimWorkingSet();

    // Tray icon and menu
    void FillTrayIcon();
    void UpdateTrayIcon();
    void OnTrayNotify(LPARAM mouseMessage);
    void ShowTrayMenu();
    void OnCommand(UINT id);
    void TogglePause();
    void OpenSettingsSheet(int startPage);

    // Title-bar clock
    void ClockTick();
    void RestoreClockTitle();

    // Apply step
    void ApplySettings();
    void RedrawTaskbarIfChanged();
    void UpdateClockTimer();

    HICON AppIcon = nullptr;  // a shared resource icon: never destroyed
    NOTIFYICONDATAW TrayIcon = {};
    int SheetOpen = 0;
    std::wstring InitialStartButtonText;
    AppSettings Settings;
    std::list<ShadeRecord> ShadedWindows;
    int LastSheetPage = 0;
    int AppliedIconBkMode = 0;
    int AppliedIconTextColorMode = 0;
    int AppliedTaskbarTP = 0;
    COLORREF AppliedIconTextColor = 0;
    int Paused = 0;
    TitleClock Clock;
    CLibraryBinding Library;
};
