#include "shell_tweaks.h"

#include <utility>

#include "shell_names.h"
#include "start_button.h"
#include "startup_shortcut.h"
#include "taskbar_overlap.h"

namespace app {

namespace {
constexpr UINT kClockPeriodMs = 1000;
constexpr UINT kFolderLookPeriodMs = 500;
constexpr int kFolderLooks = 8;  // four seconds
constexpr size_t kMaxFolderLooks = 16;
}  // namespace

void CShellTweaks::Adopt(const CCrashJournal::Leftover& left) {
    // A text that run set and could not take back is never taken for the button's own.
    initialStartButtonText_ = left.buttonOwnText ? *left.buttonOwnText : shell::ReadStartButtonText();
    if (left.buttonOwnText) journal_.KeepLeftStartButton(initialStartButtonText_, left.buttonSetText);
    for (const journal::Title& owed : left.titles) clock_.Owe(owed.window, owed.title);
    JournalClock();
    for (const journal::Band& band : left.bands) bands_.Adopt(band.rebar, band.child);
    JournalBands();
    // Before the title changes: a kill right after it finds the window in the journal.
    clock_.NotifyBeforeWriting(&CShellTweaks::JournalClockTarget, this);
}

void CShellTweaks::JournalClock() {
    std::vector<shell::CTitleClock::OwnTitle> carriers = clock_.carriers();
    std::vector<journal::Title> records(carriers.size());
    for (size_t i = 0; i < carriers.size(); ++i) records[i] = {carriers[i].window, std::move(carriers[i].title)};
    journal_.KeepClock(std::move(records));
}

void CShellTweaks::JournalBands() {
    const std::vector<shell::CExplorerBands::HiddenBand>& hidden = bands_.hidden();
    std::vector<journal::Band> records(hidden.size());
    for (size_t i = 0; i < hidden.size(); ++i) records[i] = {hidden[i].rebar, hidden[i].child};
    journal_.KeepBands(std::move(records));
}

void CShellTweaks::Attach(HWND owner, UINT_PTR clockTimer, UINT_PTR folderTimer) {
    owner_ = owner;
    clockTimer_ = clockTimer;
    folderTimer_ = folderTimer;
}

void CShellTweaks::TakeSheetOpening() {
    desktopIcons_.TakeModes(settings_.DeskTopIconBkMode, settings_.DeskTopIconTextColorMode);
    appliedTaskbarTP_ = settings_.EnableTaskbarTP;
}

void CShellTweaks::Apply() {
    SetStartButtonText(settings_.EnableStartButtonTP ? settings_.StartButtonText : initialStartButtonText_);
    library_.EnableOverlapTP(settings_.EnableOverlapTP);
    TweakAllTopLevelWindows();
    library_.EnableTopmostTP(settings_.EnableTopmostTP);
    desktopIcons_.Apply(DesktopIconLook());
    RedrawTaskbarIfChanged();
    ReconcileStartupShortcut();
    UpdateClockTimer();
}

void CShellTweaks::OnTaskbarCreated() {
    SetStartButtonText(settings_.EnableStartButtonTP ? settings_.StartButtonText : initialStartButtonText_);
    library_.EnableTaskbarTP(settings_.EnableTaskbarTP, settings_.EnableStartMenuTP);
}

void CShellTweaks::OnPaintSeen() {
    if (settings_.EnableStartButtonTP) SetStartButtonText(settings_.StartButtonText);
}

void CShellTweaks::SetStartButtonText(const std::wstring& text) {
    // The journal learns of a text of the program's before the button shows it.
    journal_.BeforeStartButtonText(initialStartButtonText_, text);
    shell::SetStartButtonText(text);
    journal_.AfterStartButtonText(initialStartButtonText_, text);
}

shell::IconTextLook CShellTweaks::DesktopIconLook() {
    // A list view that did not answer so far is asked again.
    settings_.CaptureDesktopListColors();
    return {settings_.DeskTopIconBkMode, settings_.DeskTopIconTextColorMode,
            static_cast<COLORREF>(settings_.DeskTopIconTextColor), settings_.DesktopListTextBkColor,
            settings_.DesktopListTextColor};
}

void CShellTweaks::ReassertIconColors() { desktopIcons_.Reassert(DesktopIconLook()); }

bool CShellTweaks::ApplyExplorerBands(HWND window) {
    const bool looked = bands_.Apply(window, settings_.HideFlag, settings_.HideMenu);
    JournalBands();
    return looked;
}

void CShellTweaks::GiveBackBands() {
    // The bands the program hid show again; the user's choice is what gets stored.
    const int hideFlag = settings_.HideFlag, hideMenu = settings_.HideMenu;
    settings_.HideFlag = settings_.HideMenu = 0;
    TweakAllTopLevelWindows();
    settings_.HideFlag = hideFlag;
    settings_.HideMenu = hideMenu;
}

void CShellTweaks::OnWindowCreated(HWND window) {
    if (!settings_.HideFlag && !settings_.HideMenu) return;
    if (ApplyExplorerBands(window) || folderLooks_.size() >= kMaxFolderLooks) return;
    folderLooks_.push_back({window, kFolderLooks});
    SetTimer(owner_, folderTimer_, kFolderLookPeriodMs, nullptr);
}

void CShellTweaks::LookAgainAtFolders() {
    std::erase_if(folderLooks_, [this](FolderLook& look) {
        if (!IsWindow(look.window) || (!settings_.HideFlag && !settings_.HideMenu)) return true;
        return ApplyExplorerBands(look.window) || --look.looksLeft <= 0;
    });
    if (folderLooks_.empty()) KillTimer(owner_, folderTimer_);
}

void CShellTweaks::OnWindowEvent(HWND window, LPARAM event) {
    if (settings_.EnableOverlapTP) shell::CorrectTaskbarOverlap(window, settings_.ClassFilter);
    if (event == WM_ACTIVATE) shell::RepaintUnderTaskbar(settings_.EnableTaskbarTP);
}

BOOL CALLBACK CShellTweaks::TweakTopLevelWindow(HWND window, LPARAM self) {
    auto* tweaks = reinterpret_cast<CShellTweaks*>(self);
    if (tweaks->settings_.EnableOverlapTP) shell::CorrectTaskbarOverlap(window, tweaks->settings_.ClassFilter);
    tweaks->ApplyExplorerBands(window);
    return TRUE;  // always to the end
}

void CShellTweaks::TweakAllTopLevelWindows() { EnumWindows(TweakTopLevelWindow, reinterpret_cast<LPARAM>(this)); }

void CShellTweaks::RedrawTaskbarIfChanged() {
    if (appliedTaskbarTP_ == settings_.EnableTaskbarTP) return;
    if (const HWND tray = FindWindowW(kTaskbarClass, nullptr)) {
        // The whole taskbar, its frame and its children, in its own coordinates.
        RedrawWindow(tray, nullptr, nullptr, kRedrawAllFlags);
    }
    appliedTaskbarTP_ = settings_.EnableTaskbarTP;
}

void CShellTweaks::ReconcileStartupShortcut() {
    // An existing shortcut is never rewritten.
    const bool exists = shell::StartupShortcutExists();
    if (settings_.Startup && !exists)
        shell::UpdateStartupShortcut(settings_.Startup);
    else if (!settings_.Startup && exists)
        shell::UpdateStartupShortcut(0);
}

void CShellTweaks::ClockTick() {
    if (settings_.ShowClock) {
        clock_.Tick(settings_.TimeFormat, settings_.ShowClockClassName != 0, settings_.ClassFilter);
        JournalClock();
        return;
    }
    // Off, the timer runs only while a window is still owed its own title.
    UpdateClockTimer();
}

void CShellTweaks::RestoreClockTitle() {
    // A window that does not take its own title back (its thread hung) stays in the
    // journal and is given it back at the next chance: at a tick, or by the next start.
    clock_.RestoreTitle();
    JournalClock();
}

void CShellTweaks::UpdateClockTimer() {
    if (settings_.ShowClock) {
        if (settings_.TimeFormat.empty()) settings_.TimeFormat = kDefaultTimeFormat;
        SetTimer(owner_, clockTimer_, kClockPeriodMs, nullptr);
    } else {
        RestoreClockTitle();
        // A window that did not take its own title back is asked again every second.
        if (clock_.carriers().empty())
            KillTimer(owner_, clockTimer_);
        else
            SetTimer(owner_, clockTimer_, kClockPeriodMs, nullptr);
    }
}

}  // namespace app
