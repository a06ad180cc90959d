// What the running program costs, against the minimal program started the same way:
// private bytes after start-up, the time from process creation to the tray icon (the
// minimal program: to its first window), and CPU time while idle, with the title-bar
// clock off and on; and the same of the 32-bit companion the program starts.
#include <cstdio>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"
#include "tray_recorder.h"

namespace bench {

namespace {

constexpr double kMemoryGoal = 1.5;
constexpr double kStartupGoal = 1.3;
constexpr double kCompanionMemoryGoal = 1.2;
// One scheduler tick beyond the minimal program's own: under Wine even a process that
// only waits in GetMessage is charged some CPU time.
constexpr double kIdleGoalMs = 16;
constexpr DWORD kSettleMs = 2000;

double CounterSeconds(LONGLONG counter) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(counter) / static_cast<double>(f.QuadPart);
}

// The minimal program's first window, told by the system's window-creation event.
class CreationWatch {
public:
    CreationWatch()
        : hook_(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, Seen, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)) {}
    ~CreationWatch() {
        if (hook_) UnhookWinEvent(hook_);
    }
    CreationWatch(const CreationWatch&) = delete;
    CreationWatch& operator=(const CreationWatch&) = delete;

    bool ok() const { return hook_ != nullptr; }
    void Reset() { seen_ = 0; }
    LONGLONG seen() const { return seen_; }

private:
    static void CALLBACK Seen(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
        if (seen_ || object != OBJID_WINDOW || child != CHILDID_SELF || !window) return;
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        if (lstrcmpW(cls, kMinimalClass) == 0) seen_ = now.QuadPart;
    }
    static inline LONGLONG seen_ = 0;
    HWINEVENTHOOK hook_;
};

// Seconds from process creation to the minimal program's first window (< 0: failed).
double StartMinimal(Child& child, CreationWatch& watch) {
    watch.Reset();
    const double start = Now();
    if (!child.Start(kMinimalExe)) return -1;
    if (!rig::WaitFor([&] { return watch.seen() != 0 || !child.running(); }, 10000) || !watch.seen()) return -1;
    return CounterSeconds(watch.seen()) - start;
}

bool EndMinimal(Child& child) {
    if (const HWND window = FindWindowW(kMinimalClass, nullptr)) PostMessageW(window, WM_CLOSE, 0, 0);
    return child.WaitExit(5000);
}

// Seconds from process creation to the program's tray icon (< 0: failed).
double StartProgram(Child& child, rig::TrayRecorder& tray) {
    tray.Clear();
    const double start = Now();
    if (!child.Start(rig::kProgramExe)) return -1;
    if (!rig::WaitFor([&] { return !tray.Calls(NIM_ADD).empty() || !child.running(); }, 10000)) return -1;
    const std::vector<rig::TrayCall> added = tray.Calls(NIM_ADD);
    if (added.empty()) return -1;
    // Ready for commands once its hidden window is there (it is, before the icon).
    if (!rig::WaitFor([&] { return ProgramWindow(child.pid()) != nullptr; }, 10000)) return -1;
    return CounterSeconds(added.front().when) - start;
}

void Idle(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    rig::WaitFor([&] { return GetTickCount64() >= end; }, ms + 1000);
}

struct IdleRun {
    bool ok = false;
    double cpuMs = 0;
    long timers = 0;
    size_t other = 0;  // posted messages other than the clock's timer
};

// The program idle for `seconds` after start-up, its GUI thread watched by the probe.
IdleRun MeasureIdle(rig::TrayRecorder& tray, int seconds, bool clock) {
    IdleRun run;
    QuietSettings();
    rig::settings::SetDword(L"ShowClock", clock ? 1 : 0);
    rig::HostProcess host;
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 400, 300);
    layout.title = L"Idle";
    const HWND window = host.ok() ? host.Create(layout) : nullptr;
    rig::ProgramProbe probe;
    Child program;
    if (!window || !rig::Activate(window) || !probe.ok() || StartProgram(program, tray) < 0 ||
        !probe.Attach(program.threadId()))
        return run;
    Idle(kSettleMs);
    probe.Clear();
    probe.CountPosted(WM_TIMER);
    const double before = CostOf(program.process()).cpuMs;
    Idle(static_cast<DWORD>(seconds) * 1000);
    run.cpuMs = CostOf(program.process()).cpuMs - before;
    run.timers = probe.counted();
    for (const rig::ProbeMessage& m : probe.Messages())
        if (m.posted && m.message != WM_TIMER) ++run.other;
    probe.Detach();
    run.ok = EndProgram(program) && program.exitCode() == 0;
    return run;
}

struct CompanionRun {
    bool ok = false;
    bool realWidth = false;  // the 32-bit companion, not this build's stand-in
    ProcessCost cost;
    double idleMs = 0;
};

// The companion as the program starts it from a folder laid out as the x64 package is:
// its cost after start-up and its CPU time over `seconds` idle.
CompanionRun MeasureCompanion(rig::TrayRecorder& tray, int seconds) {
    CompanionRun run;
    QuietSettings();
    rig::TempFolder folder(L"-x64");
    std::wstring from = rig::OtherWidthFolder();
    run.realWidth = !from.empty();
    if (from.empty()) from = rig::ProgramDirectory();
    if (!folder.CopyFromProgramDirectory(rig::kProgramExe) || !folder.CopyFromProgramDirectory(L"vitrel.dll") ||
        !folder.CopyIn(from + L"Clarovia32.exe", L"x86\\Clarovia32.exe") ||
        !folder.CopyIn(from + L"vitrel.dll", L"x86\\vitrel32.dll"))
        return run;
    tray.Clear();
    {
        rig::Program program(folder.path());
        std::vector<DWORD> pids;
        if (!program.Run() || !rig::WaitFor([&] { return (pids = rig::CompanionPids()).size() == 1; }, 10000))
            return run;
        const HANDLE companion = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pids[0]);
        if (!companion) return run;
        Idle(kSettleMs);
        run.cost = CostOf(companion);
        Idle(static_cast<DWORD>(seconds) * 1000);
        run.idleMs = CostOf(companion).cpuMs - run.cost.cpuMs;
        CloseHandle(companion);
        run.ok = program.Exit() && rig::WaitFor([] { return rig::CompanionPids().empty(); }, 5000);
    }
    return run;
}

}  // namespace

int RunCost(const CostOptions& options) {
    QuietSettings();
    rig::TrayRecorder tray;
    CreationWatch watch;
    if (!tray.ok() || !watch.ok()) {
        std::printf("cost: set-up failed (tray stand-in %d, creation events %d)\n", tray.ok(), watch.ok());
        return 2;
    }

    // Start-up, alternating; the first run of each warms the file cache and is not counted.
    std::vector<double> program, minimal;
    for (int i = 0; i <= options.startupRuns; ++i) {
        Child m, p;
        const double tm = StartMinimal(m, watch);
        const bool endedMinimal = EndMinimal(m);
        const double tp = StartProgram(p, tray);
        const bool endedProgram = EndProgram(p);
        if (tm < 0 || tp < 0 || !endedMinimal || !endedProgram) {
            std::printf("startup: run %d failed (minimal %.3f s%s, program %.3f s%s)\n", i, tm,
                        endedMinimal ? "" : ", did not end", tp, endedProgram ? "" : ", did not end");
            rig::settings::Erase();
            return 2;
        }
        if (i == 0) continue;
        minimal.push_back(tm);
        program.push_back(tp);
    }
    const double startup = Median(program) / Median(minimal);
    std::printf("startup: median %.1f ms to the tray icon, %.1f ms to the minimal program's window (%d runs each)\n",
                1e3 * Median(program), 1e3 * Median(minimal), options.startupRuns);

    // Memory after start-up and 2 s idle.
    ProcessCost programCost, minimalCost;
    {
        Child m;
        if (StartMinimal(m, watch) < 0) return 2;
        Idle(kSettleMs);
        minimalCost = CostOf(m.process());
        EndMinimal(m);
        Child p;
        if (StartProgram(p, tray) < 0) return 2;
        Idle(kSettleMs);
        programCost = CostOf(p.process());
        EndProgram(p);
    }
    const double memory = static_cast<double>(programCost.privateBytes) /
                          static_cast<double>(minimalCost.privateBytes ? minimalCost.privateBytes : 1);
    std::printf("memory: private %zu KB against %zu KB, working set %zu KB against %zu KB, handles %lu against %lu\n",
                size_t{programCost.privateBytes / 1024}, size_t{minimalCost.privateBytes / 1024},
                size_t{programCost.workingSet / 1024}, size_t{minimalCost.workingSet / 1024}, programCost.handles,
                minimalCost.handles);

    // CPU while idle; the minimal program's for comparison.
    double minimalIdleMs = -1;
    {
        Child m;
        if (StartMinimal(m, watch) >= 0) {
            Idle(kSettleMs);
            const double before = CostOf(m.process()).cpuMs;
            Idle(static_cast<DWORD>(options.idleSeconds) * 1000);
            minimalIdleMs = CostOf(m.process()).cpuMs - before;
        }
        EndMinimal(m);
    }
    const IdleRun off = MeasureIdle(tray, options.idleSeconds, false);
    const IdleRun on = MeasureIdle(tray, options.idleSeconds, true);
    const CompanionRun companion = MeasureCompanion(tray, options.idleSeconds);
    rig::settings::Erase();
    if (!off.ok || !on.ok || !companion.ok) {
        std::printf("idle-cpu: set-up failed (program %d %d, companion %d)\n", off.ok, on.ok, companion.ok);
        return 2;
    }
    const double companionMemory = static_cast<double>(companion.cost.privateBytes) /
                                   static_cast<double>(minimalCost.privateBytes ? minimalCost.privateBytes : 1);
    std::printf("companion: %s, private %zu KB against the minimal program's %zu KB, working set %zu KB, "
                "handles %lu; idle %d s %.1f ms\n",
                companion.realWidth ? "the 32-bit one" : "this build's stand-in (no 32-bit code runs here)",
                size_t{companion.cost.privateBytes / 1024}, size_t{minimalCost.privateBytes / 1024},
                size_t{companion.cost.workingSet / 1024}, companion.cost.handles, options.idleSeconds,
                companion.idleMs);
    std::printf("idle-cpu: %d s; clock off %.1f ms, %ld timer(s), %zu other message(s); clock on %.1f ms, %ld timer(s), "
                "%zu other message(s); the minimal program %.1f ms\n",
                options.idleSeconds, off.cpuMs, off.timers, off.other, on.cpuMs, on.timers, on.other, minimalIdleMs);
    std::fflush(stdout);

    Summary("memory %.2f", memory);
    Summary("startup %.2f", startup);
    Summary("idle-cpu %.0f ms clock-off %.0f ms clock-on", off.cpuMs, on.cpuMs);
    Summary("companion %.2f", companionMemory);
    // The clock wakes once a second: one timer a second, give or take the edges.
    const bool clockQuiet = on.timers <= options.idleSeconds + 1 && on.other == 0;
    const bool timesMet = memory <= kMemoryGoal && startup <= kStartupGoal &&
                          off.cpuMs - minimalIdleMs <= kIdleGoalMs && companionMemory <= kCompanionMemoryGoal &&
                          companion.idleMs - minimalIdleMs <= kIdleGoalMs;
    const bool met = off.timers == 0 && off.other == 0 && clockQuiet && (timesMet || !options.timingGoals);
    return met ? 0 : 1;
}

}  // namespace bench
