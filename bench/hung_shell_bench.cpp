// The hung shell: the fake shell's taskbar, desktop list view and folder window stop
// answering (their thread sleeps), with every tweak that talks to them switched on. The
// program, started while they still answered, must then get through an apply step and
// through its exit each within the goal, and still open its tray menu. Odd rounds hang
// the shell just before the apply step (each bounded wait runs its full time); even
// rounds wait until the system itself takes the shell for hung (5 s without a message).
//
// Between the two, another program's window is activated, which the program hears of and
// answers by asking the shell where the taskbar is (the overlap correction).
//
// Every third round the shell does not stop pumping but is slow inside its handlers: the
// taskbar's redraw switch, the rebar's band query and the start button's text are each
// taken and carried out 1.5 s later, after the program has stopped waiting (the late
// delivery), from the program's start on.
//
// Once the shell is awake again and the program has ended, its windows are checked: the
// taskbar visible (redraw on), the desktop's labels in their own or the chosen colour,
// no block freed under a message that still pointed into it, the shell alive. After the
// last round a start and a clean end with the shell awake must give back the rest: the
// start button's own text and the folder window's bands.
//
// Summary: hung-shell <ms> ms <B> broken: the longest apply step, activation or exit of
// all rounds (goal 2000), and the windows left in a wrong state (goal 0).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"

namespace bench {

namespace {

constexpr double kGoalMs = 2000;
// Long enough for an apply step, the menu and an exit that all wait their longest.
constexpr DWORD kStepsMs = 4000;
constexpr DWORD kSystemHungMs = 5500;
constexpr DWORD kLateMs = 1500;
constexpr COLORREF kOwnText = 0x00123456, kOwnBack = 0x00FFFFFF, kChosenText = 0x0000FF00;

enum class Kind { HungJustBefore, SystemHung, SlowInside };

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::HungJustBefore:
        return "hung just before";
    case Kind::SystemHung:
        return "hung for 5 s before";
    default:
        return "slow inside its handlers";
    }
}

bool Answers(HWND window, UINT timeoutMs) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &result) != 0;
}

struct Round {
    bool ok = false;
    double applyMs = 0;
    double exitMs = 0;
    double activationMs = 0;
    bool menu = false;
};

// The shell's windows that the program talks to.
struct Shell {
    rig::HostProcess& host;
    HWND taskbar, list, rebar;
};

Round RunRound(const Shell& shell, HWND other, Kind kind) {
    Round round;
    const HWND taskbar = shell.taskbar;
    if (kind == Kind::SlowInside) {
        shell.host.SlowDown(taskbar, WM_SETREDRAW, kLateMs, FALSE);
        shell.host.SlowDown(shell.rebar, RB_GETBANDINFOA, kLateMs);
        shell.host.SlowDown(GetWindow(taskbar, GW_CHILD), WM_SETTEXT, kLateMs);
    }
    rig::ProgramProbe probe;
    rig::Program program;
    if (!probe.ok() || !program.Run() || !probe.Attach(program.threadId()) || !probe.Settle(program.window(), 10000))
        return round;

    // The shell stops: once its thread takes the request, nothing of it answers.
    const bool systemHung = kind == Kind::SystemHung;
    const DWORD hangMs = (systemHung ? kSystemHungMs : 0) + kStepsMs;
    if (kind != Kind::SlowInside &&
        (!shell.host.MakeBusy(hangMs) || !rig::WaitFor([&] { return !Answers(taskbar, 50); }, 5000)))
        return round;
    const double hungAt = Now();
    if (systemHung) rig::WaitFor([&] { return Now() - hungAt > kSystemHungMs / 1000.0; }, kSystemHungMs + 1000);

    // The settings sheet's Apply.
    double start = Now();
    PostMessageW(program.window(), rig::kApplySettings, 0, 0);
    const bool applied = probe.Settle(program.window(), hangMs * 2);
    round.applyMs = 1000 * (Now() - start);

    // Another program's window comes to the front: the program hears of it and looks
    // where the taskbar is (the window-overlap correction).
    start = Now();
    const bool activated = rig::Activate(other) && probe.Settle(program.window(), hangMs * 2);
    round.activationMs = 1000 * (Now() - start);

    // A right click on the tray icon, as the shell reports it.
    PostMessageW(program.window(), rig::kTrayNotify, rig::kTrayIconId, WM_RBUTTONUP);
    round.menu = rig::WaitFor([&] { return program.Menu() != nullptr; }, 3000);
    if (round.menu) program.CloseMenu();

    start = Now();
    const bool ended = program.Exit(hangMs * 2);
    round.exitMs = 1000 * (Now() - start);
    round.ok = applied && activated && ended && program.exitCode() == 0;
    if (!ended) program.End();

    // The shell wakes up again before the next round.
    if (kind == Kind::SlowInside) shell.host.NoLongerSlow();
    rig::WaitFor([&] { return Answers(taskbar, 200); }, hangMs + 5000);
    return round;
}

// The shell's windows left in a wrong state now that it is awake: the taskbar with its
// redraw off, labels in a colour nobody chose, a block freed under a late message.
int Broken(const Shell& shell) {
    if (!shell.host.Alive()) return 3;
    int broken = 0;
    if (!IsWindowVisible(shell.taskbar)) ++broken;
    const rig::HostProcess::Colors colors = shell.host.ListColors(shell.list);
    if ((colors.text != kOwnText && colors.text != kChosenText) || (colors.back != kOwnBack && colors.back != CLR_NONE))
        ++broken;
    if (shell.host.SawFreedBlock()) ++broken;
    return broken;
}

// A start and a clean end with the shell awake give back what a hung shell kept.
int BrokenAfterACleanEnd(const Shell& shell) {
    rig::Program program;
    if (!program.Run() || !program.Exit(10000)) return 1;
    int broken = Broken(shell);
    const std::wstring button = rig::WindowText(GetWindow(shell.taskbar, GW_CHILD));
    if (button != L"Start") {
        std::printf("hung-shell: the start button shows \"%ls\"\n", button.c_str());
        ++broken;
    }
    if (const uint32_t hidden = shell.host.HiddenBands(shell.rebar) & ((1u << rig::kMenuBand) | (1u << rig::kLogoBand))) {
        std::printf("hung-shell: bands still hidden: %#x\n", hidden);
        ++broken;
    }
    return broken;
}

}  // namespace

int RunHungShell(int rounds) {
    rig::settings::Erase();
    rig::settings::SetDword(L"EnableTaskbarTP", 1);
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Hung");
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    rig::settings::SetDword(L"DeskTopIconTextColorMode", 1);
    rig::settings::SetDword(L"DeskTopIconTextColor", kChosenText);
    rig::settings::SetDword(L"HideFlag", 1);
    rig::settings::SetDword(L"HideMenu", 1);
    rig::settings::SetDword(L"EnableOverlapTP", 1);

    rig::HostProcess shell(L"rig_shell.exe");
    const HWND list = shell.ok() ? shell.CreateDesktop(kOwnText, kOwnBack) : nullptr;
    const HWND folder = shell.ok() ? shell.CreateFolderWindow(L"CabinetWClass", 40, 60, 520, 300) : nullptr;
    const HWND taskbar = shell.ok() ? shell.CreateTaskbar(0, 708, 1024, 40, L"Start") : nullptr;
    rig::HostProcess host;
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 200, 300, 200);
    layout.title = L"Another program";
    const HWND other = host.ok() ? host.Create(layout) : nullptr;
    // The program's tray requests go to this taskbar, as they go to the shell's.
    if (!list || !folder || !taskbar || !other || FindWindowW(L"Shell_TrayWnd", nullptr) != taskbar) {
        std::printf("hung-shell: set-up failed\n");
        rig::settings::Erase();
        return 2;
    }

    const Shell parts{shell, taskbar, list, rig::FolderRebar(folder)};
    double worst = 0;
    bool allOk = true, menus = true;
    int broken = 0;
    for (int i = 1; i <= rounds; ++i) {
        const Kind kind = static_cast<Kind>((i - 1) % 3);
        const Round round = RunRound(parts, other, kind);
        const int left = Broken(parts);
        std::printf("hung-shell: round %d (%s): apply %.0f ms, another window activated %.0f ms, exit %.0f ms, "
                    "tray menu %s, %d broken once awake%s\n",
                    i, KindName(kind), round.applyMs, round.activationMs, round.exitMs,
                    round.menu ? "opened" : "DID NOT OPEN", left, round.ok ? "" : ", FAILED");
        std::fflush(stdout);
        worst = std::max({worst, round.applyMs, round.activationMs, round.exitMs});
        allOk = allOk && round.ok;
        menus = menus && round.menu;
        broken += left;
    }
    const int afterEnd = BrokenAfterACleanEnd(parts);
    std::printf("hung-shell: after a clean start and end: %d broken\n", afterEnd);
    broken += afterEnd;
    rig::settings::Erase();
    Summary("hung-shell %.0f ms %d broken", worst, broken);
    // A window left broken is a fault, short run or not; times are goals.
    if (!allOk || broken) return 2;
    return worst <= kGoalMs && menus ? 0 : 1;
}

}  // namespace bench
