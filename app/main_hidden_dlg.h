// The program's hidden main window: never shown, it owns everything the program holds
// at run time, receives every event as a message, and routes each to the part that
// handles it.
#pragma once

#include <windows.h>

#include <string>

#include "app_settings.h"
#include "clarovia_sheet.h"
#include "crash_journal.h"
#include "desktop_icon_text.h"
#include "dialog.h"
#include "explorer_bands.h"
#include "library_binding.h"
#include "shaded_windows.h"
#include "title_clock.h"
#include "tray_icon.h"

// Private messages of the program (and WM_APPLY_SETTINGS, the settings sheet's).
// The hidden window's timers.
enum : UINT_PTR {
    CLOCK_TIMER_ID = 1,       // the title-bar clock, once a second
    TRAY_RETRY_TIMER_ID = 2,  // the tray icon asked for again
    FOLDER_LOOK_TIMER_ID = 3, // new folder windows looked into again
};

enum : UINT {
    WM_CONSUMED_PRIVATE = WM_USER + 111,  // 0x46F: taken without effect and not passed on
    WM_TRAYNOTIFY = WM_USER + 1000,       // 0x7E8: the tray icon's callback; a second start
};

class CMainHiddenDlg : public fw::Dialog {
public:
    explicit CMainHiddenDlg(const fw::Profile& profile);
    ~CMainHiddenDlg() override;

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Gives back what the program changed in other windows (shutdown.cpp).
    void PostNcDestroy() override;

private:
    void TrimWorkingSet();
    void OnTaskbarCreated();

    // Tray icon and menu (tray.cpp)
    void OnTrayNotify(LPARAM mouseMessage);
    // Shows or hides the icon as the settings say; a taskbar that does not take the
    // request yet (busy at log-on) is asked again a few times, ever less often.
    void ShowTrayIcon();
    void RetryTrayIcon();
    void ShowTrayMenu();
    void OnCommand(UINT id);
    void TogglePause();
    void OpenSettingsSheet(int startPage);

    // Apply step (apply_settings.cpp)
    void ApplySettings();
    void RedrawTaskbarIfChanged();
    void ReconcileStartupShortcut();
    void UpdateClockTimer();

    // The shell tweaks, with the current settings
    void SetStartButtonText(const std::wstring& text);
    IconTextLook DesktopIconLook();
    void ApplyDesktopIconText();
    void ReassertIconColors();
    // Whether the window's bands were there to look at (see ExplorerBands::Apply).
    bool ApplyExplorerBands(HWND window);
    void JournalBands();
    // A new folder window may show before its rebar and bands are built: it is looked
    // into again a few times over its first seconds.
    void OnWindowCreated(HWND window);
    void LookAgainAtFolders();
    void OnWindowEvent(HWND window, LPARAM event);
    void TweakAllTopLevelWindows();
    static BOOL CALLBACK TweakTopLevelWindow(HWND window, LPARAM self);
    void ClockTick();
    void RestoreClockTitle();
    // Keeps the journal in line with what the clock and the shaded windows hold now.
    void JournalClock();
    static void JournalClockTarget(void* self);
    void JournalShaded() const { Journal.RecordShaded(Shaded.records()); }

    HICON AppIcon = nullptr;  // a shared resource icon: never destroyed
    TrayIcon Tray;
    int TrayRetries = 0;  // requests to the taskbar repeated since the last one it took
    int SheetOpen = 0;
    std::wstring InitialStartButtonText;
    AppSettings Settings;
    ShadedWindows Shaded;
    int LastSheetPage = 0;
    DesktopIconText DesktopIcons;
    ExplorerBands Bands;
    struct FolderLook {
        HWND window;
        int looksLeft;
    };
    std::vector<FolderLook> FolderLooks;
    int AppliedTaskbarTP = 0;
    int Paused = 0;
    TitleClock Clock;
    CLibraryBinding Library;
    CrashJournal Journal;
    // Broadcast by a shell that (re)starts: "TaskbarCreated".
    const UINT taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
};
