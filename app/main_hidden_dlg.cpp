// The hidden main window: construction, initialisation, and the routing of every
// message it receives to the part that handles it.
#include "main_hidden_dlg.h"

#include <psapi.h>

#include "explorer_bands.h"
#include "resource.h"
#include "start_button.h"
#include "taskbar_overlap.h"
#include "vitrel_api.h"
#include "window_util.h"

CMainHiddenDlg::CMainHiddenDlg(const fw::Profile& profile)
    : fw::Dialog(IDD_HIDDEN, nullptr),
      AppIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))),
      Settings(profile),
      Journal(profile) {
    // A run that was killed gives back what it changed first: otherwise the start
    // button's text it set would pass for the button's own below.
    Journal.Recover();
    // Before the program changes anything: what the button is given back.
    InitialStartButtonText = ReadStartButtonText();
    Clock.NotifyBeforeWriting(&CMainHiddenDlg::JournalClockTarget, this);
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
    Tray.Fill(hwnd(), WM_TRAYNOTIFY);
    Tray.Show(!Settings.NoTaskTrayIcon);
    DesktopIcons.TakeColor(static_cast<COLORREF>(Settings.DeskTopIconTextColor));
    ApplySettings();
    TrimWorkingSet();
    return TRUE;
}

INT_PTR CMainHiddenDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_) {
        OnTaskbarCreated();
        return Handled(0);
    }
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
        Shaded.ToggleShade(reinterpret_cast<HWND>(lParam), Settings.ClassFilter, Settings.DefaultHeight);
        JournalShaded();
        return Handled(0);
    case WM_PAINT_SEEN:
        if (Settings.EnableStartButtonTP) SetStartButtonText(Settings.StartButtonText);
        return Handled(0);
    case WM_WINDOW_EVENT:
        OnWindowEvent(reinterpret_cast<HWND>(wParam), lParam);
        return Handled(0);
    case WM_WINDOW_CREATED:
        if (Settings.HideFlag || Settings.HideMenu) ApplyExplorerBands(reinterpret_cast<HWND>(wParam));
        return Handled(0);
    case WM_CONSUMED_PRIVATE:
        return Handled(0);
    case WM_TRAYNOTIFY:
        OnTrayNotify(lParam);
        return Handled(0);
    case WM_APPLY_SETTINGS:
        // Only with the library bound (not while its failure is being reported).
        if (Library.bound()) ApplySettings();
        return Handled(0);
    default:
        return Default();
    }
}

void CMainHiddenDlg::TrimWorkingSet() {
    // The program's own process (after the exit command the window is already gone).
    EmptyWorkingSet(GetCurrentProcess());
}

void CMainHiddenDlg::OnTaskbarCreated() {
    // The shell has (re)started: its new taskbar knows nothing of the program yet.
    if (!Library.bound()) return;
    Tray.Show(!Settings.NoTaskTrayIcon);
    SetStartButtonText(Settings.EnableStartButtonTP ? Settings.StartButtonText : InitialStartButtonText);
    Library.EnableTaskbarTP(Settings.EnableTaskbarTP, Settings.EnableStartMenuTP);
}

// ------------------------------------------------------------ shell tweaks

void CMainHiddenDlg::SetStartButtonText(const std::wstring& text) {
    // The journal learns of a text of the program's before the button shows it.
    const bool own = text == InitialStartButtonText;
    if (!own && text != journaledButtonText_) Journal.RecordStartButton(InitialStartButtonText, text);
    ::SetStartButtonText(text);
    if (!own) {
        journaledButtonText_ = text;
    } else if (!journaledButtonText_.empty() && ReadStartButtonText() == text) {
        // Forgotten once the button shows its own text again: one that did not take it
        // (a hung shell) is given it back later, by this run or the next start.
        Journal.ForgetStartButton();
        journaledButtonText_.clear();
    }
}

IconTextLook CMainHiddenDlg::DesktopIconLook() const {
    return {Settings.DeskTopIconBkMode, Settings.DeskTopIconTextColorMode,
            static_cast<COLORREF>(Settings.DeskTopIconTextColor), Settings.DesktopListTextBkColor,
            Settings.DesktopListTextColor};
}

void CMainHiddenDlg::ApplyDesktopIconText() { DesktopIcons.Apply(DesktopIconLook()); }

void CMainHiddenDlg::ReassertIconColors() { DesktopIcons.Reassert(DesktopIconLook()); }

void CMainHiddenDlg::ApplyExplorerBands(HWND window) {
    ::ApplyExplorerBands(window, Settings.HideFlag, Settings.HideMenu);
}

void CMainHiddenDlg::OnWindowEvent(HWND window, LPARAM event) {
    // The end of a move or size loop, or an activation.
    if (Settings.EnableOverlapTP) CorrectTaskbarOverlap(window, Settings.ClassFilter);
    if (event == WM_ACTIVATE) RepaintUnderTaskbar(Settings.EnableTaskbarTP);
}

BOOL CALLBACK CMainHiddenDlg::TweakTopLevelWindow(HWND window, LPARAM self) {
    auto* dlg = reinterpret_cast<CMainHiddenDlg*>(self);
    if (dlg->Settings.EnableOverlapTP) CorrectTaskbarOverlap(window, dlg->Settings.ClassFilter);
    dlg->ApplyExplorerBands(window);
    return TRUE;  // always to the end
}

void CMainHiddenDlg::TweakAllTopLevelWindows() { EnumWindows(TweakTopLevelWindow, reinterpret_cast<LPARAM>(this)); }

void CMainHiddenDlg::ClockTick() {
    Clock.Tick(Settings.TimeFormat, Settings.ShowClockClassName != 0, Settings.ClassFilter);
    JournalClock();
}

void CMainHiddenDlg::RestoreClockTitle() {
    Clock.RestoreTitle();
    // A window that did not take its own title back (its thread hung) stays in the
    // journal and is given it back at the next chance: here again, or by the next start.
    if (journaledClock_ && CrashJournal::ShowsClock(journaledClock_, journaledTitle_)) {
        fw::SendBounded(journaledClock_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(journaledTitle_.c_str()));
        if (CrashJournal::ShowsClock(journaledClock_, journaledTitle_)) return;
    }
    JournalClock();
}

void CMainHiddenDlg::JournalClockTarget(void* self, HWND window, const wchar_t* ownTitle) {
    // Before the title changes: a kill right after it finds the window in the journal.
    auto* dlg = static_cast<CMainHiddenDlg*>(self);
    if (window == dlg->journaledClock_ && dlg->journaledTitle_ == ownTitle) return;
    dlg->journaledClock_ = window;
    dlg->journaledTitle_ = ownTitle;
    dlg->Journal.RecordClock(window, ownTitle);
}

void CMainHiddenDlg::JournalClock() {
    // Written when the clock moves to another window or that window's title changes.
    if (Clock.window() == journaledClock_ && (!journaledClock_ || journaledTitle_ == Clock.ownTitle())) return;
    journaledClock_ = Clock.window();
    journaledTitle_ = journaledClock_ ? Clock.ownTitle() : L"";
    Journal.RecordClock(journaledClock_, journaledTitle_);
}
