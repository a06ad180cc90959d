// The instance race: rounds of ten starts at the same moment. Exactly one copy must run
// on, with its hidden window; the nine others must hand over to it and end, all within
// 10 s. The survivor then ends by its exit command (closing first the settings sheet
// that the hand-overs, each a double-click on the tray icon, opened).
//
// Summary: instance-race <R> rounds <W> wrong, W counting the rounds where not exactly
// one copy ran on or another did not end in time.
#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>

#include "bench_common.h"
#include "program.h"
#include "rig.h"
#include "tray_recorder.h"

namespace bench {

namespace {

constexpr int kCopies = 10;
constexpr DWORD kSettleMs = 10000;

// The visible dialogs of a process (the settings sheet, a message).
HWND VisibleDialog(DWORD pid, HWND hidden) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32770", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == pid && found != hidden && IsWindowVisible(found)) return found;
    }
    return nullptr;
}

// Closes what the survivor shows, then ends it by its exit command.
bool EndSurvivor(Child& program) {
    const HWND hidden = ProgramWindow(program.pid());
    rig::WaitFor(
        [&] {
            const HWND dialog = VisibleDialog(program.pid(), hidden);
            if (!dialog) return true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return false;
        },
        5000);
    return EndProgram(program);
}

}  // namespace

int RunInstanceRace(int rounds) {
    QuietSettings();
    rig::TrayRecorder tray;
    if (!tray.ok()) {
        std::printf("instance-race: set-up failed\n");
        return 2;
    }
    int wrong = 0;
    const double start = Now();
    for (int round = 1; round <= rounds; ++round) {
        std::array<std::unique_ptr<Child>, kCopies> copies;
        bool started = true;
        for (auto& copy : copies) {
            copy = std::make_unique<Child>();
            started = copy->Start(rig::kProgramExe, true) && started;
        }
        if (!started) {
            std::printf("instance-race: set-up failed in round %d\n", round);
            rig::settings::Erase();
            return 2;
        }
        for (auto& copy : copies) copy->Resume();

        // One copy on, with its window and its start-up done; the others gone.
        Child* survivor = nullptr;
        int running = 0;
        const bool settled = rig::WaitFor(
            [&] {
                running = 0;
                survivor = nullptr;
                for (auto& copy : copies)
                    if (copy->running()) {
                        ++running;
                        survivor = copy.get();
                    }
                return running == 1 && ProgramWindow(survivor->pid()) &&
                       WaitForInputIdle(survivor->process(), 0) == 0;
            },
            kSettleMs);
        bool ended = settled && EndSurvivor(*survivor);
        if (ended && survivor->exitCode() != 0) ended = false;
        if (!settled || !ended) {
            ++wrong;
            std::printf("instance-race: round %d wrong: %d cop%s running after %lu ms%s\n", round, running,
                        running == 1 ? "y" : "ies", kSettleMs,
                        settled && !ended ? ", the survivor did not end by its exit command" : "");
        }
        for (auto& copy : copies) copy->Kill();
    }
    rig::settings::Erase();
    std::printf("instance-race: %d rounds of %d starts in %.1f s, %d wrong\n", rounds, kCopies, Now() - start, wrong);
    std::fflush(stdout);
    Summary("instance-race %d rounds %d wrong", rounds, wrong);
    return wrong == 0 ? 0 : 1;
}

}  // namespace bench
