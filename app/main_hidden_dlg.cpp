// The hidden main window: construction, initialisation, and the routing of every
// message it receives to the part that handles it.
#include "main_hidden_dlg.h"

#include <psapi.h>

#include <iterator>

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
    const CrashJournal::Leftover left = Journal.Recover();
    // Before the program changes anything: what the button is given back. A text that
    // run set and could not take back is never taken for the button's own.
    InitialStartButtonText = left.buttonOwnText ? *left.buttonOwnText : ReadStartButtonText();
    if (left.buttonOwnText) Journal.KeepLeftStartButton(InitialStartButtonText, left.buttonSetText);
    // Titles and bands that run could not give back are this run's to give back.
    for (const TitleClock::OwnTitle& owed : left.titles) Clock.Owe(owed.window, owed.title);
    JournalClock();
    for (const ExplorerBands::HiddenBand& band : left.bands) Bands.Adopt(band.rebar, band.child);
    JournalBands();
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
    // The library's reports from programs with fewer rights, the shell's tray requests
    // and its restart still reach the program when it runs elevated.
    const UINT allowed[] = {WM_SHADE_DBLCLK,   WM_PAINT_SEEN, WM_WINDOW_EVENT, WM_SHADE_RCLICK,
                            WM_WINDOW_CREATED, WM_TRAYNOTIFY, taskbarCreated_};
    fw::AllowFromLowerRights(hwnd(), allowed, std::size(allowed));
    Tray.Fill(hwnd(), WM_TRAYNOTIFY);
    ShowTrayIcon();
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
        if (wParam == TRAY_RETRY_TIMER_ID)
            RetryTrayIcon();
        else if (wParam == FOLDER_LOOK_TIMER_ID)
            LookAgainAtFolders();
        else
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
        OnWindowCreated(reinterpret_cast<HWND>(wParam));
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
    TrayRetries = 0;
    ShowTrayIcon();
    SetStartButtonText(Settings.EnableStartButtonTP ? Settings.StartButtonText : InitialStartButtonText);
    Library.EnableTaskbarTP(Settings.EnableTaskbarTP, Settings.EnableStartMenuTP);
}

// ------------------------------------------------------------ shell tweaks

void CMainHiddenDlg::SetStartButtonText(const std::wstring& text) {
    Journal.BeforeStartButtonText(InitialStartButtonText, text);
    ::SetStartButtonText(text);
    Journal.AfterStartButtonText(InitialStartButtonText, text);
}

IconTextLook CMainHiddenDlg::DesktopIconLook() {
    // A list view that did not answer so far is asked again.
    Settings.CaptureDesktopListColors();
    return {Settings.DeskTopIconBkMode, Settings.DeskTopIconTextColorMode,
            static_cast<COLORREF>(Settings.DeskTopIconTextColor), Settings.DesktopListTextBkColor,
            Settings.DesktopListTextColor};
}

void CMainHiddenDlg::ApplyDesktopIconText() { DesktopIcons.Apply(DesktopIconLook()); }

void CMainHiddenDlg::ReassertIconColors() { DesktopIcons.Reassert(DesktopIconLook()); }

bool CMainHiddenDlg::ApplyExplorerBands(HWND window) {
    const bool looked = Bands.Apply(window, Settings.HideFlag, Settings.HideMenu);
    JournalBands();
    return looked;
}

void CMainHiddenDlg::JournalBands() { Journal.KeepBands(Bands.hidden()); }

namespace {
constexpr UINT kFolderLookPeriodMs = 500;
constexpr int kFolderLooks = 8;  // four seconds
constexpr size_t kMaxFolderLooks = 16;
}  // namespace

void CMainHiddenDlg::OnWindowCreated(HWND window) {
    if (!Settings.HideFlag && !Settings.HideMenu) return;
    if (ApplyExplorerBands(window) || FolderLooks.size() >= kMaxFolderLooks) return;
    FolderLooks.push_back({window, kFolderLooks});
    SetTimer(hwnd(), FOLDER_LOOK_TIMER_ID, kFolderLookPeriodMs, nullptr);
}

void CMainHiddenDlg::LookAgainAtFolders() {
    std::erase_if(FolderLooks, [this](FolderLook& look) {
        if (!IsWindow(look.window) || (!Settings.HideFlag && !Settings.HideMenu)) return true;
        return ApplyExplorerBands(look.window) || --look.looksLeft <= 0;
    });
    if (FolderLooks.empty()) KillTimer(hwnd(), FOLDER_LOOK_TIMER_ID);
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
    if (Settings.ShowClock) {
        Clock.Tick(Settings.TimeFormat, Settings.ShowClockClassName != 0, Settings.ClassFilter);
        JournalClock();
        return;
    }
    // Off, the timer runs only while a window is still owed its own title.
    UpdateClockTimer();
}

void CMainHiddenDlg::RestoreClockTitle() {
    // A window that does not take its own title back (its thread hung) stays in the
    // journal and is given it back at the next chance: at a tick, or by the next start.
    Clock.RestoreTitle();
    JournalClock();
}

void CMainHiddenDlg::JournalClockTarget(void* self) {
    // Before the title changes: a kill right after it finds the window in the journal.
    static_cast<CMainHiddenDlg*>(self)->JournalClock();
}

void CMainHiddenDlg::JournalClock() { Journal.KeepClock(Clock.carriers()); }
