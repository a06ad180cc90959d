// The hidden main window: construction, initialisation, the routing of every message
// it receives to the part that handles it, the tray menu's commands and the end.
#include "main_hidden_dlg.h"

#include <psapi.h>

#include <iterator>

#include "about_dlg.h"
#include "companion_protocol.h"
#include "resource.h"
#include "vitrel_api.h"
#include "window_actions.h"
#include "window_util.h"

namespace app {

CMainHiddenDlg::CMainHiddenDlg(const fw::Profile& profile)
    : fw::Dialog(IDD_HIDDEN, nullptr),
      AppIcon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP))),
      Settings(profile),
      Journal(profile),
      Tweaks(Settings, Journal, Library) {
    // A run that was killed gives back what it changed first: otherwise the start
    // button's text it set would pass for the button's own.
    Tweaks.Adopt(Journal.Recover());
    ClickThrough.OnChange([this](const std::vector<ClickThroughRecord>& records) { Journal.RecordClickThrough(records); });
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
    const UINT allowed[] = {WM_SHADE_DBLCLK,   WM_PAINT_SEEN, WM_WINDOW_EVENT,
                            WM_SHADE_RCLICK,   WM_WINDOW_CREATED, WM_TRAYNOTIFY,
                            taskbarCreated_,   companion::WM_COMPANION_READY};
    fw::AllowFromLowerRights(hwnd(), allowed, std::size(allowed));
    // The programs of the other width, through the companion: it is told the library's
    // state once its hooks are set, and every change from then on.
    Library.Relay(&Companion);
    Companion.Start(hwnd(), COMPANION_TIMER_ID);
    Tray.Attach(hwnd(), WM_TRAYNOTIFY, TRAY_RETRY_TIMER_ID);
    Tray.Show(!Settings.NoTaskTrayIcon);
    Tweaks.Attach(hwnd(), CLOCK_TIMER_ID, FOLDER_LOOK_TIMER_ID);
    Tweaks.TakeInitialColor();
    // The rules go to the windows open now; the first apply then finds them unchanged.
    Rules.Use(Settings.Rules, Settings.ClassFilter, Settings.ClaroviaValue);
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
            Tray.Retry();
        else if (wParam == FOLDER_LOOK_TIMER_ID)
            Tweaks.LookAgainAtFolders();
        else if (wParam == COMPANION_TIMER_ID)
            Companion.OnRetryTimer();
        else
            Tweaks.ClockTick();
        return Handled(0);
    case WM_SHADE_DBLCLK:
    case WM_SHADE_RCLICK:
        Shaded.ToggleShade(companion::WindowFromReport(lParam), Settings.ClassFilter, Settings.DefaultHeight);
        Journal.RecordShaded(Shaded.records());
        return Handled(0);
    case WM_PAINT_SEEN:
        Tweaks.OnPaintSeen();
        return Handled(0);
    case WM_WINDOW_EVENT: {
        const HWND window = companion::WindowFromReport(wParam);
        if (lParam == WM_ACTIVATE) Rules.OnActivated(window);
        Tweaks.OnWindowEvent(window, lParam);
        return Handled(0);
    }
    case WM_WINDOW_CREATED: {
        const HWND window = companion::WindowFromReport(wParam);
        Rules.OnWindowCreated(window);
        Tweaks.OnWindowCreated(window);
        return Handled(0);
    }
    case companion::WM_COMPANION_READY:
        if (Library.bound() && Companion.OnReady(companion::WindowFromReport(static_cast<UINT_PTR>(lParam))))
            Library.Replay();
        return Handled(0);
    case companion::WM_COMPANION_ENDED:
        Companion.OnEnded();
        return Handled(0);
    case WM_CONSUMED_PRIVATE:
        return Handled(0);
    case WM_TRAYNOTIFY:
        OnTrayNotify(lParam);
        return Handled(0);
    case WM_HOTKEY:
        OnHotkey(wParam);
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
    Companion.OnTaskbarCreated();
    Tray.Restart(!Settings.NoTaskTrayIcon);
    Tweaks.OnTaskbarCreated();
}

void CMainHiddenDlg::ApplySettings() {
    Library.Push(Settings);
    Tweaks.Apply();
    Tray.Show(!Settings.NoTaskTrayIcon);
    if (Rules.Use(Settings.Rules, Settings.ClassFilter, Settings.ClaroviaValue)) Settings.SaveRules();
    if (!Paused) Keyboard.Take(hwnd(), Settings.Keys);
    Settings.KeysHeld = Keyboard.held();
}

// ------------------------------------------------------------ tray icon and menu

void CMainHiddenDlg::OnTrayNotify(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_RBUTTONUP:
        if (!SheetOpen) {
            MenuWindow = Rules.LastActiveWindow();
            ProgramRule rule;
            const bool offered = MenuWindow && CWindowRules::RuleOfWindow(MenuWindow, rule) &&
                                 CanPutRule(Settings.Rules, rule);
            ClickThrough.Purge();
            MenuClickThrough.clear();
            std::vector<std::wstring> titles;
            for (const ClickThroughRecord& r : ClickThrough.records()) {
                MenuClickThrough.push_back(r.window);
                titles.push_back(fw::WindowText(r.window));
            }
            Tray.ShowMenu(Paused != 0, MenuWindow ? rule.Program : std::wstring(), offered, titles);
        }
        break;
    case WM_LBUTTONDOWN:
        // Whether paused or not, sheet open or not.
        Tweaks.ReassertIconColors();
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

void CMainHiddenDlg::OnCommand(UINT id) {
    if (id >= ID_TRAY_CLICK_THROUGH && id < ID_TRAY_CLICK_THROUGH + MenuClickThrough.size()) {
        ClickThrough.GiveBackWindow(MenuClickThrough[id - ID_TRAY_CLICK_THROUGH]);
        return;
    }
    switch (id) {
    case ID_TRAY_SETTINGS:
        if (!Paused && !SheetOpen) OpenSettingsSheet(1);
        break;
    case ID_TRAY_ABOUT: {
        CAboutDlg about(Companion.problem());
        about.DoModal();
        break;
    }
    case ID_TRAY_EXIT:
        Destroy();
        break;
    case ID_TRAY_PAUSE:
        TogglePause();
        break;
    case ID_TRAY_MAKE_RULE:
        if (!Paused && !SheetOpen) MakeRuleOfMenuWindow();
        break;
    default:
        break;
    }
}

void CMainHiddenDlg::TogglePause() {
    Paused = Paused == 0 ? 1 : 0;
    Library.LockMessage(Paused);
    // Paused, the combinations are free for other programs.
    if (Paused)
        Keyboard.Release();
    else
        Keyboard.Take(hwnd(), Settings.Keys);
    Settings.KeysHeld = Keyboard.held();
}

void CMainHiddenDlg::OnHotkey(WPARAM id) {
    const std::optional<HotkeyAction> action = CHotkeys::ActionOf(id);
    if (!action || Paused) return;
    const HWND window = ActiveTarget(Settings.ClassFilter);
    if (*action == HotkeyAction::ClickThrough) {
        // The way back first: the active window's own, else the one made last; only
        // with none left does the active window become click-through.
        ClickThrough.Purge();
        const HWND active = GetForegroundWindow();
        const HWND root = active ? GetAncestor(active, GA_ROOT) : nullptr;
        if (ClickThrough.Contains(root))
            ClickThrough.GiveBackWindow(root);
        else if (!ClickThrough.records().empty())
            ClickThrough.GiveBackLatest();
        else if (window)
            ClickThrough.Make(window, Settings.ClaroviaValue);
        return;
    }
    if (!window) return;
    switch (*action) {
    case HotkeyAction::Translucency:
        ToggleTranslucency(Library, window, Settings.ClaroviaValue);
        break;
    case HotkeyAction::MoreOpaque:
        StepLevel(Library, window, Settings.WheelStep);
        break;
    case HotkeyAction::LessOpaque:
        StepLevel(Library, window, -Settings.WheelStep);
        break;
    case HotkeyAction::OnTop:
        ToggleTopmost(window);
        break;
    case HotkeyAction::RollUp:
        Shaded.ToggleShade(window, Settings.ClassFilter, Settings.DefaultHeight);
        Journal.RecordShaded(Shaded.records());
        break;
    case HotkeyAction::ClickThrough:
        break;
    }
}

void CMainHiddenDlg::MakeRuleOfMenuWindow() {
    ProgramRule rule;
    // The window may have gone or changed while the menu was open.
    if (!MenuWindow || !CWindowRules::RuleOfWindow(MenuWindow, rule)) return;
    if (PutRule(Settings.Rules, rule) == kNoRule) return;
    // The program's other open windows take it too.
    if (Rules.Use(Settings.Rules, Settings.ClassFilter, Settings.ClaroviaValue)) Settings.SaveRules();
}

void CMainHiddenDlg::OpenSettingsSheet(int startPage) {
    // What the apply at the sheet's OK compares with: the settings as they are now.
    Tweaks.TakeSheetOpening();
    SheetOpen = 1;
    {
        // Modal: timer ticks, library reports and the Apply button's message are
        // handled meanwhile.
        ui::CClaroviaSheet sheet(IDS_SHEET_CAPTION, hwnd(), startPage, &Settings);
        if (sheet.DoModal() == IDOK) ApplySettings();
        LastSheetPage = sheet.PageIndex;
    }
    SheetOpen = 0;
}

// ------------------------------------------------------------ the end

void CMainHiddenDlg::PostNcDestroy() {
    // After the window is destroyed; the settings are written when the window object
    // is deleted afterwards.
    Keyboard.Release();
    // What a hung window did not take back stays in the journal for the next start.
    ClickThrough.GiveBackAll();
    Tweaks.RestoreClockTitle();
    Shaded.RestoreAll();
    Tweaks.GiveBackStartButton();
    Tray.Remove();  // nothing to remove if the library never loaded
    Tweaks.GiveBackBands();
    // The companion's hooks go first, as it gives back its side of the library.
    Companion.Stop();
    Library.Unbind();
    // What was given back is forgotten; what a hung window did not take back is left
    // for the next start.
    Journal.ClearGivenBack();
}

}  // namespace app
