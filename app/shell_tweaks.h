// The shell tweaks as the settings ask for them: the start button's text, the desktop
// labels, the folder windows' bands, the taskbar overlap, the title-bar clock, the
// startup shortcut. Applied in one fixed order at every apply; kept up as windows come
// and go; given back at the exit. What they change in other windows is journaled.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app_settings.h"
#include "crash_journal.h"
#include "desktop_icon_text.h"
#include "explorer_bands.h"
#include "library_binding.h"
#include "title_clock.h"

namespace app {

class CShellTweaks {
public:
    CShellTweaks(AppSettings& settings, CCrashJournal& journal, CLibraryBinding& library)
        : settings_(settings), journal_(journal), library_(library) {}
    CShellTweaks(const CShellTweaks&) = delete;
    CShellTweaks& operator=(const CShellTweaks&) = delete;

    // Before the program changes anything: the start button's own text, and what a run
    // that was killed left and could not give back (this run's to give back now).
    void Adopt(const CCrashJournal::Leftover& left);
    // The owner's timers: the clock's tick and the folder windows' second looks.
    void Attach(HWND owner, UINT_PTR clockTimer, UINT_PTR folderTimer);
    // The label colour the user chose, before the first apply.
    void TakeInitialColor() { desktopIcons_.TakeColor(static_cast<COLORREF>(settings_.DeskTopIconTextColor)); }
    // The settings sheet opens: what the apply at its OK compares with.
    void TakeSheetOpening();

    // The apply step's part, after the library has its values.
    void Apply();
    // The shell (re)started: the start button's text and the taskbar's translucency again.
    void OnTaskbarCreated();
    void OnPaintSeen();
    // The end of a move or size loop, or an activation.
    void OnWindowEvent(HWND window, LPARAM event);
    // A new folder window may show before its rebar and bands are built: it is looked
    // into again a few times over its first seconds.
    void OnWindowCreated(HWND window);
    void LookAgainAtFolders();
    void ClockTick();
    void ReassertIconColors();

    // At the exit, in this order around the other parts: the clock's titles, then the
    // start button's own text, then the bands the program hid.
    void RestoreClockTitle();
    void GiveBackStartButton() { SetStartButtonText(initialStartButtonText_); }
    void GiveBackBands();

private:
    void SetStartButtonText(const std::wstring& text);
    shell::IconTextLook DesktopIconLook();
    // Whether the window's bands were there to look at (see shell::CExplorerBands::Apply).
    bool ApplyExplorerBands(HWND window);
    void TweakAllTopLevelWindows();
    static BOOL CALLBACK TweakTopLevelWindow(HWND window, LPARAM self);
    void RedrawTaskbarIfChanged();
    void ReconcileStartupShortcut();
    void UpdateClockTimer();
    // What the journal is told of: the clock's carriers and the bands hidden, as its records.
    void JournalClock();
    void JournalBands();
    static void JournalClockTarget(void* self) { static_cast<CShellTweaks*>(self)->JournalClock(); }

    AppSettings& settings_;
    CCrashJournal& journal_;
    CLibraryBinding& library_;
    HWND owner_ = nullptr;
    UINT_PTR clockTimer_ = 0, folderTimer_ = 0;
    std::wstring initialStartButtonText_;
    shell::CDesktopIconText desktopIcons_;
    shell::CExplorerBands bands_;
    struct FolderLook {
        HWND window;
        int looksLeft;
    };
    std::vector<FolderLook> folderLooks_;
    shell::CTitleClock clock_;
    int appliedTaskbarTP_ = 0;
};

}  // namespace app
