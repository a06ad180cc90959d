// Common ground of program_bench's runs: a clock, a median, what a process costs
// (private bytes, handles, CPU time) as another process reads it, the minimal program
// that the ratios compare against, and the summary lines printed at the very end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace bench {

// Seconds on the performance counter.
double Now();
double Median(std::vector<double> values);

struct ProcessCost {
    SIZE_T privateBytes = 0;
    SIZE_T workingSet = 0;
    DWORD handles = 0;
    double cpuMs = 0;  // user and kernel time so far
};
ProcessCost CostOf(HANDLE process);

// A started process with its handles, terminated (if still running) and closed when
// the object goes.
class Child {
public:
    Child() = default;
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts `exe` of the bench's own folder, in that folder; `suspended` leaves its
    // first thread waiting for Resume.
    bool Start(const wchar_t* exe, bool suspended = false);
    void Resume();
    bool running() const;
    // Waits, pumping this thread, for the process to end.
    bool WaitExit(DWORD timeoutMs);
    DWORD exitCode() const;
    HANDLE process() const { return pi_.hProcess; }
    DWORD pid() const { return pi_.dwProcessId; }
    DWORD threadId() const { return pi_.dwThreadId; }
    void Kill();

private:
    PROCESS_INFORMATION pi_ = {};
};

// The minimal program: a hidden window and a message loop (bench_minimal.exe).
inline constexpr wchar_t kMinimalExe[] = L"bench_minimal.exe";
inline constexpr wchar_t kMinimalClass[] = L"ClaroviaBenchMinimal";

// Clarovia.exe's hidden window, once it has made it (null before, and after the end).
HWND ProgramWindow(DWORD pid);
// Asks the program to end as its tray menu's "exit" does; whether it ended in time.
bool EndProgram(Child& program, DWORD timeoutMs = 10000);

// A line for the summary that ends the output.
void Summary(const char* format, ...);
void PrintSummary();

// Settings for a quiet program: no translucent taskbar, nothing on the desktop.
void QuietSettings();

// The bench's runs; each returns 0 when its goals are met, 1 when one is missed, 2 when
// set-up failed.
struct CostOptions {
    int startupRuns = 15;
    int idleSeconds = 10;
    bool timingGoals = true;  // false: ratios and times printed, not held to their goals
};
int RunCost(const CostOptions& options);
int RunRegistryFuzz(int starts, unsigned seed);
int RunInstanceRace(int rounds);
// strict: no gesture may be lost (else at most one in twenty, for short runs).
// `narrow`: on windows of 32-bit helpers, through the program's 32-bit companion.
int RunSoak(int gestures, unsigned seed, bool strict, bool narrow = false);
int RunHungShell(int rounds);
int RunPaintStorm(long reports);
// timingGoals: false prints the figure without holding it to its goal.
int RunRules(long windows, bool timingGoals);

}  // namespace bench
