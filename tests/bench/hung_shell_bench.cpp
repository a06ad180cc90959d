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
// Summary: hung-shell <ms>, the longest apply step, activation or exit of all rounds
// (goal 2000).
#include <windows.h>

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

Round RunRound(rig::HostProcess& shell, HWND taskbar, HWND other, bool systemHung) {
    Round round;
    rig::ProgramProbe probe;
    rig::Program program;
    if (!probe.ok() || !program.Run() || !probe.Attach(program.threadId()) || !probe.Settle(program.window()))
        return round;

    // The shell stops: once its thread takes the request, nothing of it answers.
    const DWORD hangMs = (systemHung ? kSystemHungMs : 0) + kStepsMs;
    if (!shell.MakeBusy(hangMs) || !rig::WaitFor([&] { return !Answers(taskbar, 50); }, 5000)) return round;
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
    rig::WaitFor([&] { return Answers(taskbar, 200); }, hangMs + 5000);
    return round;
}

}  // namespace

int RunHungShell(int rounds) {
    rig::settings::Erase();
    rig::settings::SetDword(L"EnableTaskbarTP", 1);
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Hung");
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    rig::settings::SetDword(L"DeskTopIconTextColorMode", 1);
    rig::settings::SetDword(L"HideFlag", 1);
    rig::settings::SetDword(L"HideMenu", 1);
    rig::settings::SetDword(L"EnableOverlapTP", 1);

    rig::HostProcess shell(L"rig_shell.exe");
    const HWND list = shell.ok() ? shell.CreateDesktop(0x000000, 0xFFFFFF) : nullptr;
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

    double worst = 0;
    bool allOk = true, menus = true;
    for (int i = 1; i <= rounds; ++i) {
        const bool systemHung = i % 2 == 0;
        const Round round = RunRound(shell, taskbar, other, systemHung);
        std::printf("hung-shell: round %d (%s): apply %.0f ms, another window activated %.0f ms, exit %.0f ms, "
                    "tray menu %s%s\n",
                    i, systemHung ? "hung for 5 s before" : "hung just before", round.applyMs, round.activationMs,
                    round.exitMs, round.menu ? "opened" : "DID NOT OPEN", round.ok ? "" : ", FAILED");
        std::fflush(stdout);
        worst = std::max({worst, round.applyMs, round.activationMs, round.exitMs});
        allOk = allOk && round.ok;
        menus = menus && round.menu;
    }
    rig::settings::Erase();
    Summary("hung-shell %.0f", worst);
    if (!allOk) return 2;
    return worst <= kGoalMs && menus ? 0 : 1;
}

}  // namespace bench
