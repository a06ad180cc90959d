// program_bench: the running Clarovia.exe measured, under faults, load and bad input.
//
//   program_bench                      every run at full size
//   program_bench --only A,B           only these runs: cost, registry-fuzz,
//                                      instance-race, soak, soak-32, hung-shell,
//                                      paint-storm, rules
//   --runs N          start-up runs of each program (15)
//   --idle-seconds S  idle time measured, clock off and on (10)
//   --starts N        registry fuzz starts (300)
//   --rounds R        instance race rounds of 10 starts (20)
//   --gestures G      soak gestures (10000; a fifth as many on 32-bit windows)
//   --hung-rounds R   hung shell rounds (5)
//   --reports N       paint storm reports (100000)
//   --windows N       window creations reported to the rules run (20000; 2000 short)
//   --seed S          seed of the fuzz and the soak (from the clock)
//   --short           the measured times and ratios are printed but not held to their
//                     goals, and the soak may lose one gesture in twenty (for short runs
//                     on a loaded machine); every other goal holds
//
// The runs print what they see as they go; the summary follows at the end, one line a
// run:
//   memory <ratio>                  private bytes against the minimal program's
//   startup <ratio>                 to the tray icon, against the minimal program's window
//   idle-cpu <ms> ms clock-off <ms> ms clock-on
//   registry-fuzz <N> starts <C> crashes <H> hangs
//   instance-race <R> rounds <W> wrong
//   soak <G> gestures <L> lost
//   hung-shell <ms> ms <B> broken
//   paint-storm <N> reports <S> sets
//   rules <us> us per created window, 64 rules
//   rules-class <us> us per created window of a program with class rules, 64 rules
//   rules-none <us> us per created window, no rules
// Exit status: 0 every goal met, 1 a goal missed, 2 set-up failed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>

#include "bench_common.h"
#include "rig.h"

namespace {

struct Options {
    std::wstring only;
    bench::CostOptions cost;
    int starts = 300;
    int rounds = 20;
    int gestures = 10000;
    int hungRounds = 5;
    long reports = 100000;
    long windows = 0;  // 0: by --short
    unsigned seed = 0;
};

bool IsFlag(const std::wstring& name, Options& options) {
    if (name != L"--short") return false;
    options.cost.timingGoals = false;
    return true;
}

bool Wanted(const Options& options, const wchar_t* run) {
    if (options.only.empty()) return true;
    const std::wstring list = L"," + options.only + L",";
    return list.find(std::wstring(L",") + run + L",") != std::wstring::npos;
}

bool Parse(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (IsFlag(name, options)) continue;
        if (i + 1 >= argc) return false;
        const wchar_t* value = argv[++i];
        const long number = std::wcstol(value, nullptr, 10);
        if (name == L"--only")
            options.only = value;
        else if (name == L"--runs" && number > 0)
            options.cost.startupRuns = static_cast<int>(number);
        else if (name == L"--idle-seconds" && number > 0)
            options.cost.idleSeconds = static_cast<int>(number);
        else if (name == L"--starts" && number > 0)
            options.starts = static_cast<int>(number);
        else if (name == L"--rounds" && number > 0)
            options.rounds = static_cast<int>(number);
        else if (name == L"--gestures" && number > 0)
            options.gestures = static_cast<int>(number);
        else if (name == L"--hung-rounds" && number > 0)
            options.hungRounds = static_cast<int>(number);
        else if (name == L"--reports" && number > 0)
            options.reports = number;
        else if (name == L"--windows" && number > 0)
            options.windows = number;
        else if (name == L"--seed")
            options.seed = static_cast<unsigned>(std::wcstoul(value, nullptr, 10));
        else
            return false;
    }
    return true;
}

// A failed set-up (2) outranks a missed goal (1), which outranks success (0).
int Worse(int a, int b) { return a > b ? a : b; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: program_bench [--only runs] [--runs N] [--idle-seconds S] [--starts N] "
                             "[--rounds R] [--gestures G] [--hung-rounds R] [--reports N] [--windows N] [--seed S] "
                             "[--short]\n");
        return 2;
    }
    if (!options.seed) options.seed = GetTickCount();
    std::printf("program_bench: seed %u\n", options.seed);
    std::fflush(stdout);

    int status = 0;
    if (Wanted(options, L"cost")) status = Worse(status, bench::RunCost(options.cost));
    if (Wanted(options, L"registry-fuzz")) status = Worse(status, bench::RunRegistryFuzz(options.starts, options.seed));
    if (Wanted(options, L"instance-race")) status = Worse(status, bench::RunInstanceRace(options.rounds));
    if (Wanted(options, L"soak")) status = Worse(status, bench::RunSoak(options.gestures, options.seed, options.cost.timingGoals));
    // The same on 32-bit windows, through the companion (a fifth as many gestures).
    if (Wanted(options, L"soak-32")) {
        if (rig::OtherWidthFolder().empty())
            std::printf("soak-32: not run: no 32-bit programs run here\n");
        else
            status = Worse(status, bench::RunSoak(std::max(options.gestures / 5, 1), options.seed,
                                                  options.cost.timingGoals, true));
    }
    if (Wanted(options, L"hung-shell")) status = Worse(status, bench::RunHungShell(options.hungRounds));
    if (Wanted(options, L"paint-storm")) status = Worse(status, bench::RunPaintStorm(options.reports));
    if (Wanted(options, L"rules")) {
        const long windows = options.windows ? options.windows : options.cost.timingGoals ? 20000 : 2000;
        status = Worse(status, bench::RunRules(windows, options.cost.timingGoals));
    }
    bench::PrintSummary();
    return status;
}
