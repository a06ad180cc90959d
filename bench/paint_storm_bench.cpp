// The paint storm: what the running program does under a storm of paint reports.
//
// With the start button text on, the hook library posts the program a paint report for
// every WM_PAINT it sees anywhere; the program must then only read and compare the
// button's text, and set it only when the shell has changed it. The storm is posted
// here exactly as the library posts it, to the program started from the build folder,
// with the fake shell's taskbar, whose start button logs every text it is given.
//
// Summary: paint-storm <N> reports <S> sets, where S counts the texts the program set
// during the storm while the text was right (goal 0). A shell rewrite in the middle of
// the storm must cost exactly one set.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"

namespace bench {

namespace {

constexpr UINT kPaintSeen = WM_USER + 51;
constexpr long kBatch = 1000;  // well below the queue limit of Windows (10,000)

// Posts `n` reports in batches, waiting for the program after each.
bool Post(rig::ProgramProbe& probe, HWND program, long n) {
    for (long done = 0; done < n;) {
        const long batch = n - done < kBatch ? n - done : kBatch;
        for (long i = 0; i < batch; ++i)
            if (!PostMessageW(program, kPaintSeen, 0, 0)) return false;
        if (!probe.Settle(program, 30000)) return false;
        done += batch;
    }
    return true;
}

}  // namespace

int RunPaintStorm(long reports) {
    if (reports < kBatch) reports = kBatch;
    rig::settings::Erase();
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Storm");
    rig::settings::SetDword(L"EnableTaskbarTP", 0);

    rig::HostProcess shell(L"rig_shell.exe");
    const HWND taskbar = shell.ok() ? shell.CreateTaskbar(0, 708, 1024, 40, L"Start") : nullptr;
    const HWND button = taskbar ? GetWindow(taskbar, GW_CHILD) : nullptr;
    rig::ProgramProbe probe;
    rig::Program program;
    if (!button || FindWindowW(L"Shell_TrayWnd", nullptr) != taskbar || !probe.ok() || !program.Run() ||
        !probe.Attach(program.threadId()) || !probe.Settle(program.window())) {
        std::printf("paint-storm: set-up failed\n");
        rig::settings::Erase();
        return 2;
    }
    const bool startedRight = rig::WindowText(button) == L"Storm";
    shell.ClearLog();

    // The storm, with the text already right.
    const double start = Now();
    const bool posted = Post(probe, program.window(), reports);
    const double seconds = Now() - start;
    const size_t sets = shell.Log(button, WM_SETTEXT).size();

    // The shell rewrites the text once in the middle of more reports.
    shell.SetText(button, L"Start");
    shell.ClearLog();
    const bool postedAfter = Post(probe, program.window(), kBatch);
    const size_t setsAfterRewrite = shell.Log(button, WM_SETTEXT).size();
    const bool wonBack = rig::WindowText(button) == L"Storm";

    program.Exit();
    rig::settings::Erase();
    if (!startedRight || !posted || !postedAfter) {
        std::printf("paint-storm: the program %s\n", !startedRight ? "did not set the text at start"
                                                                   : "stopped taking reports");
        return 2;
    }
    std::printf("paint-storm: %ld reports in %.1f s (%.1f us each); after one rewrite by the shell %zu set(s), "
                "text %s\n",
                reports, seconds, 1e6 * seconds / static_cast<double>(reports), setsAfterRewrite,
                wonBack ? "won back" : "NOT won back");
    std::fflush(stdout);
    Summary("paint-storm %ld reports %zu sets", reports, sets);
    return sets == 0 && setsAfterRewrite == 1 && wonBack ? 0 : 1;
}

}  // namespace bench
