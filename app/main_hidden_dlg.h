// The program's hidden main window: never shown, it owns everything the program holds
// at run time, receives every event as a message, and routes each to the part that
// handles it.
#pragma once

#include <windows.h>

#include "app_settings.h"
#include "click_through.h"
#include "clarovia_sheet.h"
#include "companion.h"
#include "crash_journal.h"
#include "dialog.h"
#include "hotkeys.h"
#include "library_binding.h"
#include "program_messages.h"
#include "shaded_windows.h"
#include "shell_tweaks.h"
#include "tray.h"
#include "window_rules.h"

namespace app {

// The hidden window's timers.
enum : UINT_PTR {
    CLOCK_TIMER_ID = 1,       // the title-bar clock, once a second
    TRAY_RETRY_TIMER_ID = 2,  // the tray icon asked for again
    FOLDER_LOOK_TIMER_ID = 3, // new folder windows looked into again
    COMPANION_TIMER_ID = 4,   // the companion started again after it ended
};

class CMainHiddenDlg : public fw::Dialog {
public:
    explicit CMainHiddenDlg(const fw::Profile& profile);
    ~CMainHiddenDlg() override;

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Gives back what the program changed in other windows, then lets go of the library.
    void PostNcDestroy() override;

private:
    void TrimWorkingSet();
    void OnTaskbarCreated();
    void OnTrayNotify(LPARAM mouseMessage);
    void OnCommand(UINT id);
    void TogglePause();
    // A hotkey of the program: its action on the active window.
    void OnHotkey(WPARAM id);
    // The tray item: the state of the window active before the menu opened becomes the
    // rule of its program (for every class), in place of the one it had.
    void MakeRuleOfMenuWindow();
    void OpenSettingsSheet(int startPage);
    // The apply step: the library's values, the shell tweaks, the tray icon.
    void ApplySettings();

    HICON AppIcon = nullptr;  // a shared resource icon: never destroyed
    CTray Tray;
    int SheetOpen = 0;
    int LastSheetPage = 0;
    int Paused = 0;
    AppSettings Settings;
    ShadedWindows Shaded;
    CCompanion Companion;
    CLibraryBinding Library;
    CCrashJournal Journal;
    CShellTweaks Tweaks;
    CClickThrough ClickThrough{Library};
    CWindowRules Rules{Library, ClickThrough};
    CHotkeys Keyboard;
    // The click-through windows the tray menu listed, by their items' order.
    std::vector<HWND> MenuClickThrough;
    HWND MenuWindow = nullptr;  // the last active window when the tray menu opened
    // Broadcast by a shell that (re)starts: "TaskbarCreated".
    const UINT taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
};

}  // namespace app
