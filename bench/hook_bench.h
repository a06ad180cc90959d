// What the parts of vitrel_bench share: the hook procedures under test, the windows of
// the program, and the report that a fuzz host keeps for the supervisor that started it.
//
//   hook_bench.cpp       command line, the windows of the program, the verdict
//   hook_timing.cpp      the benchmark: hook procedures against a bare pass-through
//   fuzz_host.cpp        the fuzz host: random events fed to every hook procedure
//   fuzz_supervisor.cpp  starts fuzz hosts, watches them, tells what killed one
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "hook_procs.h"
#include "shared_settings.h"

namespace hookbench {

// Printed and flushed at once (the supervisor's hosts write to the same output).
void Say(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
// Seconds on the performance counter.
double Now();

inline constexpr int kHookCount = 5;
inline constexpr const char* kHookNames[kHookCount] = {"mouse", "callwndproc", "keyboard", "getmessage", "shell"};
inline constexpr HOOKPROC kHookProcs[kHookCount] = {MouseHookProc, CallWndProcHookProc, KeyboardHookProc,
                                                    GetMessageHookProc, ShellHookProc};

// Between the supervisor and the fuzz host.
inline constexpr UINT kPingMessage = WM_APP + 1;  // answered with kPingAnswer
inline constexpr UINT kWakeMessage = WM_APP + 2;  // look at the quit flag now
inline constexpr LRESULT kPingAnswer = 0xC1A0;

// The windows of this program: they count the library's reports and answer pings.
inline constexpr wchar_t kWindowClass[] = L"ClaroviaBenchWindow";
extern int64_t g_reports;
void RegisterWindowClass();
HWND MakeWindow(DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                const wchar_t* title = L"Clarovia bench");

// ------------------------------------------------------------------ benchmark

// Returns the hook-level ratios (the interleaved case of each hook), or an empty
// vector when the set-up failed.
std::vector<double> RunBenchmark(int rounds, double blockMs);

// ------------------------------------------------------------------ fuzz host

// The event being fed, kept where the supervisor can read it after a crash or a hang.
struct FuzzInput {
    int32_t hook;
    int32_t code;
    uint64_t wParam;
    uint64_t lParam;
    int32_t structure;  // what lParam points to: FuzzStructure
    int32_t window;     // pool index of the window in the call, -1 none
    uint64_t hwnd;
    uint64_t message;
    int64_t hitTest;
    int32_t x, y;
    uint64_t innerWParam, innerLParam;
};
enum FuzzStructure : int32_t { kValue = 0, kMouseStruct = 1, kCwpStruct = 2, kMsgStruct = 3, kNullPointer = 4 };

enum FuzzState : LONG { kStarting = 0, kReady = 1, kFinished = 2, kCrashed = 3, kFailed = 4 };

// Shared between the supervisor and the fuzz host (a named mapping the supervisor
// creates). Only the host writes, except `quit`.
struct FuzzReport {
    LONG state;
    LONG quit;
    uint64_t hostWindow;
    uint32_t helperPid;
    uint32_t exceptionCode;
    uint64_t exceptionAddress;
    int64_t next;  // index of the event being fed
    int64_t fed;   // events this run has fed and seen return
    FuzzInput input;
    SharedSettings settings;  // the record at the last checkpoint, or at the crash
};

template <typename T>
T Load(const T& field) {
    MemoryBarrier();
    return *static_cast<const volatile T*>(&field);
}
template <typename T>
void Store(T& field, T value) {
    *static_cast<volatile T*>(&field) = value;
    MemoryBarrier();
}

// The window pool, in this order; events name windows by index.
enum PoolIndex : int {
    kOwnCaptioned, kOwnPopup, kOwnHidden, kOwnTool, kOwnChild, kOwnHighBits,
    kForeignCaptioned, kForeignPopup, kForeignHidden, kForeignTray, kForeignXpMenu, kForeignBaseBar,
    kOwnDead1, kOwnDead2, kForeignDead1, kForeignDead2,
    kGarbage1, kGarbage2, kGarbage3, kGarbage4, kGarbage5, kGarbage6,
    kNull,
    kPoolSize
};
inline constexpr const char* kPoolLabels[kPoolSize] = {
    "own captioned", "own captionless popup", "own hidden captioned", "own tool window", "own child with caption",
    "own captioned, upper 32 bits set", "foreign captioned", "foreign captionless popup",
    "foreign hidden captioned", "foreign Shell_TrayWnd", "foreign DV2ControlHost (hidden)", "foreign BaseBar",
    "own dead", "own dead", "foreign dead", "foreign dead", "garbage", "garbage", "garbage", "garbage",
    "garbage", "garbage", "NULL"};

// The fuzz host's run: perHook events for every hook procedure, from event `first`.
// With a report name it writes to the supervisor's mapping of that name and stays
// answering after its last event until told to quit.
int FuzzMain(int64_t perHook, uint64_t seed, int64_t first, const wchar_t* reportName);

// ------------------------------------------------------------ fuzz supervisor

struct FuzzVerdict {
    int64_t events = 0;
    int crashes = 0;
    int hangs = 0;
    int runs = 0;
    bool answered = false;  // the host answered a ping after its last event
    bool timedOut = false;
    bool failed = false;    // a host never got going
    double seconds = 0;
    bool ok() const { return crashes == 0 && hangs == 0 && answered && !timedOut && !failed; }
};

// Runs fuzz hosts until every event has been fed: a host that crashes or stops
// answering is counted, and the next one carries on after the event it died on.
FuzzVerdict SuperviseFuzz(int64_t perHook, uint64_t seed, double timeoutSeconds);

}  // namespace hookbench
