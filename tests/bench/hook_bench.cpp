// vitrel_bench: what the hook procedures cost on the messages they let through, and
// whether any input makes them crash or hang.
//
//   vitrel_bench                   times every hook procedure against a bare
//                                  pass-through, then runs a fuzz host (a child
//                                  process) with 1,000,000 events per procedure
//   vitrel_bench --fuzz N          fuzz host: feeds every hook procedure N random events
//   vitrel_bench --fuzz-check N    starts a fuzz host, watches it, prints the verdict
//
// Options: --seed S (fuzz seed), --events N (fuzz events per procedure in the default
// mode), --no-fuzz, --rounds R and --block-ms M (benchmark), --timeout S (fuzz run).
//
// The hook procedures are the library's own objects, linked into this program and
// called directly with prepared arguments; the shared record is this image's copy.
// No hook is installed, so CallNextHookEx finds no next hook, exactly as at the end
// of a real chain. The record keeps its shared section here too, so copies of this
// program running at the same time may share it: the benchmark and the fuzz host
// never run at once.
#include <windows.h>

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "hook_procs.h"
#include "import_spy.h"
#include "rig.h"
#include "shared_settings.h"
#include "vitrel_api.h"

// The library's entry point: binds this process's layered-window functions as it
// does in every hooked process.
extern "C" BOOL WINAPI VitrelEntry(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

// ======================================================================= common

void Say(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
    fflush(stdout);
}

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

constexpr int kHookCount = 5;
const char* const kHookNames[kHookCount] = {"mouse", "callwndproc", "keyboard", "getmessage", "shell"};
const HOOKPROC kHookProcs[kHookCount] = {MouseHookProc, CallWndProcHookProc, KeyboardHookProc, GetMessageHookProc,
                                         ShellHookProc};

// What a hook procedure that acts on nothing costs: straight on to the next hook, with
// the handle read from the shared record just as the library's procedures read it.
__attribute__((noinline)) LRESULT CALLBACK PassMouse(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(HookFromWord(g_shared.MouseHook), code, wParam, lParam);
}
__attribute__((noinline)) LRESULT CALLBACK PassCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(HookFromWord(g_shared.CallWndProcHook), code, wParam, lParam);
}
__attribute__((noinline)) LRESULT CALLBACK PassKeyboard(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(HookFromWord(g_shared.KeyboardHook), code, wParam, lParam);
}
__attribute__((noinline)) LRESULT CALLBACK PassGetMessage(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(HookFromWord(g_shared.GetMessageHook), code, wParam, lParam);
}
__attribute__((noinline)) LRESULT CALLBACK PassShell(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(HookFromWord(g_shared.ShellHook), code, wParam, lParam);
}
const HOOKPROC kPassProcs[kHookCount] = {PassMouse, PassCallWndProc, PassKeyboard, PassGetMessage, PassShell};

// Between the supervisor and the fuzz host.
constexpr UINT kPingMessage = WM_APP + 1;  // answered with kPingAnswer
constexpr UINT kWakeMessage = WM_APP + 2;  // look at the quit flag now
constexpr LRESULT kPingAnswer = 0xC1A0;

// The windows of this program: they count the library's reports and answer pings.
constexpr wchar_t kWindowClass[] = L"ClaroviaBenchWindow";
int64_t g_reports = 0;

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_SHADE_DBLCLK && message <= WM_WINDOW_CREATED) {
        ++g_reports;
        return 0;
    }
    if (message == kPingMessage) return kPingAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterWindowClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = BenchWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);
}

HWND MakeWindow(DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                const wchar_t* title = L"Clarovia bench") {
    return CreateWindowExW(exStyle, kWindowClass, title, style, x, y, w, h, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Every field of the record, with every feature on and the values a user would pick.
void UseRealisticSettings(HWND program) {
    volatile SharedSettings& s = g_shared;
    // No hook installed: CallNextHookEx ends the chain here.
    s.MouseHook = 0;
    s.CallWndProcHook = 0;
    s.KeyboardHook = 0;
    s.GetMessageHook = 0;
    s.ShellHook = 0;
    s.ProgramWindow = WordFromHandle(program);
    s.Locked = 0;
    s.SClickTP = 1;
    s.MClickTP = 1;
    s.WheelTP = 1;
    s.MoveTP = 1;
    s.MoveTPLimit = 1;
    s.SizingTP = 1;
    s.ClaroviaValue = 200;
    s.MoveTPValue = 180;
    s.SizingTPValue = 180;
    s.TaskbarTPValue = 220;
    s.WheelTPValue = 5;
    s.WheelLevel = 255;
    s.MoveTPW = 800;
    s.MoveTPH = 600;
    s.MovingActive = 0;
    s.SizingActive = 0;
    s.WheelActive = 0;
    s.ShadeTP = 1;
    s.ShadeRight = 1;
    s.ShadeArea = 0;
    s.StartButtonTextTP = 1;
    s.OverlapTP = 1;
    s.TopmostTP = 1;
    s.TaskbarTP = 1;
    s.StartMenuTP = 1;
}

const char* MessageName(uint64_t message) {
    switch (message) {
#define CLAROVIA_NAME(m) \
    case m:              \
        return #m;
        CLAROVIA_NAME(WM_NCLBUTTONDOWN)
        CLAROVIA_NAME(WM_NCLBUTTONDBLCLK)
        CLAROVIA_NAME(WM_NCRBUTTONDOWN)
        CLAROVIA_NAME(WM_NCMBUTTONDOWN)
        CLAROVIA_NAME(WM_NCMOUSEMOVE)
        CLAROVIA_NAME(WM_MOUSEMOVE)
        CLAROVIA_NAME(WM_LBUTTONDOWN)
        CLAROVIA_NAME(WM_LBUTTONUP)
        CLAROVIA_NAME(WM_MOUSEWHEEL)
        CLAROVIA_NAME(WM_MOUSEHWHEEL)
        CLAROVIA_NAME(WM_PAINT)
        CLAROVIA_NAME(WM_ACTIVATE)
        CLAROVIA_NAME(WM_ACTIVATEAPP)
        CLAROVIA_NAME(WM_MOVING)
        CLAROVIA_NAME(WM_SIZING)
        CLAROVIA_NAME(WM_ENTERSIZEMOVE)
        CLAROVIA_NAME(WM_EXITSIZEMOVE)
        CLAROVIA_NAME(WM_GETTEXT)
        CLAROVIA_NAME(WM_SETCURSOR)
        CLAROVIA_NAME(WM_NCHITTEST)
        CLAROVIA_NAME(WM_WINDOWPOSCHANGED)
        CLAROVIA_NAME(WM_TIMER)
        CLAROVIA_NAME(WM_KEYDOWN)
        CLAROVIA_NAME(WM_CHAR)
#undef CLAROVIA_NAME
    default:
        return "";
    }
}

// ==================================================================== benchmark

struct Call {
    int code;
    WPARAM wParam;
    LPARAM lParam;
};

struct Timing {
    // Medians over the rounds; the ratio is the median of the per-round ratios, with
    // its quartiles; `extra` the median of the per-round differences.
    double hookNs = 0, passNs = 0, ratio = 0, ratioLow = 0, ratioHigh = 0, extraNs = 0;
    uint64_t callsPerSide = 0;
};

struct Case {
    int hook;
    std::string name;
    bool actedOn;
    bool mix;  // all of the hook's cases that it does not act on, interleaved
    std::vector<Call> calls;
    Timing real;     // with USER32's CallNextHookEx
    Timing stubbed;  // with CallNextHookEx replaced by an empty function
};

volatile LRESULT g_sink;

// Calls `proc` n times over the prepared calls; returns nanoseconds per call.
__attribute__((noinline)) double TimeCalls(HOOKPROC proc, const Call* calls, size_t count, uint64_t n) {
    LRESULT sink = 0;
    size_t j = 0;
    const double start = Now();
    for (uint64_t i = 0; i < n; ++i) {
        const Call& c = calls[j];
        if (++j == count) j = 0;
        sink += proc(c.code, c.wParam, c.lParam);
    }
    const double end = Now();
    g_sink = g_sink + sink;
    return (end - start) * 1e9 / static_cast<double>(n);
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const size_t lo = static_cast<size_t>(at);
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return v[lo] + (v[hi] - v[lo]) * (at - static_cast<double>(lo));
}

// Alternating blocks of the hook procedure and the pass-through, the order swapped
// every round, so that drift of the machine touches both alike. A block lasts about
// blockMs (at least minCalls calls); each round gives a ratio of its own.
Timing Measure(const Case& c, int rounds, double blockMs, uint64_t minCalls) {
    const HOOKPROC hook = kHookProcs[c.hook];
    const HOOKPROC pass = kPassProcs[c.hook];
    const Call* calls = c.calls.data();
    const size_t count = c.calls.size();
    TimeCalls(hook, calls, count, minCalls);
    TimeCalls(pass, calls, count, minCalls);
    const double slower = std::max(TimeCalls(hook, calls, count, minCalls), TimeCalls(pass, calls, count, minCalls));
    const uint64_t n = std::max<uint64_t>(minCalls, static_cast<uint64_t>(blockMs * 1e6 / std::max(slower, 0.1)));
    rig::PumpMessages();
    std::vector<double> hookTimes, passTimes, ratios, extras;
    for (int r = 0; r < rounds; ++r) {
        double h, p;
        if (r % 2 == 0) {
            h = TimeCalls(hook, calls, count, n);
            p = TimeCalls(pass, calls, count, n);
        } else {
            p = TimeCalls(pass, calls, count, n);
            h = TimeCalls(hook, calls, count, n);
        }
        // Reports that a block posted are handled outside the timing.
        rig::PumpMessages();
        hookTimes.push_back(h);
        passTimes.push_back(p);
        ratios.push_back(h / p);
        extras.push_back(h - p);
    }
    Timing t;
    t.hookNs = Quantile(hookTimes, 0.5);
    t.passNs = Quantile(passTimes, 0.5);
    t.ratio = Quantile(ratios, 0.5);
    t.ratioLow = Quantile(ratios, 0.25);
    t.ratioHigh = Quantile(ratios, 0.75);
    t.extraNs = Quantile(extras, 0.5);
    t.callsPerSide = n * static_cast<uint64_t>(rounds);
    return t;
}

// Under Wine every CallNextHookEx is a round trip to the wineserver, tens of
// microseconds here, which buries what the procedures do themselves. For a second
// measurement this image's import of CallNextHookEx (used alike by the library's
// objects and the pass-throughs) is pointed at a function that returns at once.
LRESULT WINAPI ChainEnd(HHOOK, int, WPARAM, LPARAM) { return 0; }

struct BenchWindows {
    HWND program = nullptr;  // the program window of the record
    HWND target = nullptr;   // captioned, shown, never the foreground window
    HWND focus = nullptr;    // the foreground window
    ~BenchWindows() {
        if (target) DestroyWindow(target);
        if (focus) DestroyWindow(focus);
        if (program) DestroyWindow(program);
        rig::PumpMessages();
    }
};

// The prepared arguments live here, at fixed addresses, for the whole run.
struct Arguments {
    std::deque<MOUSEHOOKSTRUCT> mouse;
    std::deque<CWPSTRUCT> cwp;
    std::deque<MSG> msg;
    WCHAR text[64] = {};
    WINDOWPOS pos = {};
    LPARAM Mouse(HWND hwnd, POINT pt, UINT hit) {
        mouse.push_back(MOUSEHOOKSTRUCT{pt, hwnd, hit, 0});
        return reinterpret_cast<LPARAM>(&mouse.back());
    }
    LPARAM Cwp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        cwp.push_back(CWPSTRUCT{lParam, wParam, message, hwnd});
        return reinterpret_cast<LPARAM>(&cwp.back());
    }
    LPARAM Msg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, POINT pt) {
        MSG m = {};
        m.hwnd = hwnd;
        m.message = message;
        m.wParam = wParam;
        m.lParam = lParam;
        m.time = 123456;
        m.pt = pt;
        msg.push_back(m);
        return reinterpret_cast<LPARAM>(&msg.back());
    }
};

std::vector<Case> BuildCases(const BenchWindows& w, Arguments& a) {
    std::vector<Case> cases;
    const HWND t = w.target;
    const POINT caption = rig::CaptionPoint(t);
    RECT rc;
    GetWindowRect(t, &rc);
    const POINT inside = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    auto add = [&](int hook, const char* name, bool acted, std::vector<Call> calls) {
        cases.push_back(Case{hook, name, acted, false, std::move(calls), {}, {}});
    };
    // One more case per hook: its not-acted-on cases taken in turn, one call each.
    auto addMix = [&](int hook, size_t firstCase) {
        std::vector<Call> calls;
        for (size_t i = firstCase; i < cases.size(); ++i) calls.insert(calls.end(), cases[i].calls.begin(), cases[i].calls.end());
        cases.push_back(Case{hook, "all of the above, interleaved", false, true, std::move(calls), {}, {}});
    };

    // Mouse hook.
    size_t first = cases.size();
    add(0, "WM_MOUSEMOVE (client area)", false, {{HC_ACTION, WM_MOUSEMOVE, a.Mouse(t, inside, HTCLIENT)}});
    add(0, "WM_NCMOUSEMOVE (caption)", false, {{HC_ACTION, WM_NCMOUSEMOVE, a.Mouse(t, caption, HTCAPTION)}});
    addMix(0, first);
    add(0, "WM_NCLBUTTONDOWN on caption, no Shift", true,
        {{HC_ACTION, WM_NCLBUTTONDOWN, a.Mouse(t, caption, HTCAPTION)}});

    // Call-window-proc hook: wParam says whether the current thread sent the message.
    first = cases.size();
    add(1, "WM_GETTEXT", false, {{HC_ACTION, 1, a.Cwp(t, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(a.text))}});
    add(1, "WM_SETCURSOR", false, {{HC_ACTION, 1, a.Cwp(t, WM_SETCURSOR, reinterpret_cast<WPARAM>(t),
                                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE))}});
    add(1, "WM_NCHITTEST", false, {{HC_ACTION, 0, a.Cwp(t, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y))}});
    add(1, "WM_WINDOWPOSCHANGED", false,
        {{HC_ACTION, 0, a.Cwp(t, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&a.pos))}});
    add(1, "WM_USER+5", false, {{HC_ACTION, 1, a.Cwp(t, WM_USER + 5, 7, 9)}});
    addMix(1, first);
    add(1, "WM_ACTIVATE on a captioned window", true, {{HC_ACTION, 0, a.Cwp(t, WM_ACTIVATE, WA_ACTIVE, 0)}});

    // Keyboard hook: wParam the key, lParam repeat count, scan code and transition bits.
    first = cases.size();
    add(2, "'A' down", false, {{HC_ACTION, 'A', 0x001E0001}});
    add(2, "'A' up", false, {{HC_ACTION, 'A', static_cast<LPARAM>(0xC01E0001u)}});
    add(2, "Shift down", false, {{HC_ACTION, VK_SHIFT, 0x002A0001}});
    add(2, "Enter down", false, {{HC_ACTION, VK_RETURN, 0x001C0001}});
    addMix(2, first);
    add(2, "Esc down, no window held translucent", true, {{HC_ACTION, VK_ESCAPE, 0x00010001}});

    // Get-message hook: wParam PM_REMOVE, lParam the retrieved message.
    first = cases.size();
    add(3, "WM_TIMER", false, {{HC_ACTION, PM_REMOVE, a.Msg(t, WM_TIMER, 1, 0, inside)}});
    add(3, "WM_MOUSEMOVE", false,
        {{HC_ACTION, PM_REMOVE, a.Msg(t, WM_MOUSEMOVE, 0, MAKELPARAM(20, 30), inside)}});
    add(3, "WM_KEYDOWN", false, {{HC_ACTION, PM_REMOVE, a.Msg(t, WM_KEYDOWN, 'A', 0x001E0001, inside)}});
    add(3, "WM_PAINT", false, {{HC_ACTION, PM_REMOVE, a.Msg(t, WM_PAINT, 0, 0, inside)}});
    addMix(3, first);
    add(3, "WM_MOUSEWHEEL on caption, not foreground", true,
        {{HC_ACTION, PM_REMOVE,
          a.Msg(t, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(caption.x, caption.y), caption)}});

    // Shell hook: the code is the event, wParam the window.
    first = cases.size();
    const WPARAM tw = reinterpret_cast<WPARAM>(t);
    add(4, "HSHELL_WINDOWDESTROYED", false, {{HSHELL_WINDOWDESTROYED, tw, 0}});
    add(4, "HSHELL_WINDOWACTIVATED", false, {{HSHELL_WINDOWACTIVATED, tw, 0}});
    add(4, "HSHELL_REDRAW", false, {{HSHELL_REDRAW, tw, 0}});
    addMix(4, first);
    add(4, "HSHELL_WINDOWCREATED", true, {{HSHELL_WINDOWCREATED, tw, 0}});
    return cases;
}

void PrintHeader() {
    Say("%-11s %-52s %10s %10s %6s %12s %9s | %9s %9s %9s %11s\n", "", "", "with the", "real", "", "",
        "", "with", "CallNext-", "HookEx", "stubbed");
    Say("%-11s %-52s %10s %10s %6s %12s %9s | %9s %9s %9s %11s\n", "hook", "case", "hook ns", "pass ns", "ratio",
        "(p25-p75)", "calls", "hook ns", "pass ns", "extra ns", "calls");
}

void PrintRow(const Case& c) {
    char quartiles[32];
    snprintf(quartiles, sizeof quartiles, "%.3f-%.3f", c.real.ratioLow, c.real.ratioHigh);
    const std::string name = (c.actedOn ? "[acted on] " : "") + c.name;
    Say("%-11s %-52s %10.1f %10.1f %6.3f %12s %9" PRIu64 " | %9.1f %9.1f %+9.1f %11" PRIu64 "\n", kHookNames[c.hook],
        name.c_str(), c.real.hookNs, c.real.passNs, c.real.ratio, quartiles, c.real.callsPerSide, c.stubbed.hookNs,
        c.stubbed.passNs, c.stubbed.extraNs, c.stubbed.callsPerSide);
}

// Returns the hook-level ratios (the interleaved case of each hook), or an empty
// vector when the set-up failed.
std::vector<double> RunBenchmark(int rounds, double blockMs) {
    BenchWindows w;
    w.program = CreateWindowExW(0, kWindowClass, L"Clarovia bench program", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    w.target = MakeWindow(0, WS_OVERLAPPEDWINDOW, 60, 60, 420, 300, nullptr, L"Clarovia bench target");
    w.focus = MakeWindow(0, WS_OVERLAPPEDWINDOW, 560, 60, 300, 200, nullptr, L"Clarovia bench focus");
    if (!w.program || !w.target || !w.focus) {
        Say("bench: could not create the windows\n");
        return {};
    }
    ShowWindow(w.focus, SW_SHOW);
    ShowWindow(w.target, SW_SHOWNOACTIVATE);
    ULONGLONG asked = 0;
    rig::WaitFor(
        [&] {
            if (GetForegroundWindow() == w.focus) return true;
            if (GetTickCount64() - asked > 500) {
                SetForegroundWindow(w.focus);
                asked = GetTickCount64();
            }
            return false;
        },
        3000);
    rig::WaitFor([] { return false; }, 200);  // let both windows paint

    UseRealisticSettings(w.program);
    // What the wheel case is about: a window that is under the pointer, hit on its
    // caption, and not the foreground window.
    const POINT caption = rig::CaptionPoint(w.target);
    DWORD_PTR hit = HTNOWHERE;
    SendMessageTimeoutW(w.target, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y), SMTO_ABORTIFHUNG, 2000, &hit);
    if (WindowFromPoint(caption) != w.target || hit != HTCAPTION || GetForegroundWindow() == w.target)
        Say("bench: note: the wheel case is not set up as meant (window under the point %s, hit-test %d, "
            "foreground %s)\n",
            WindowFromPoint(caption) == w.target ? "right" : "wrong", static_cast<int>(hit),
            GetForegroundWindow() == w.target ? "the target" : "another window");

    Arguments args;
    std::vector<Case> cases = BuildCases(w, args);
    Say("benchmark: per case %d rounds (%d for the interleaved ones) of %.0f ms blocks, hook procedure and "
        "pass-through alternating; ns per call\n",
        rounds, 3 * rounds, blockMs);
    // Half a second of calls before the first figure, for the machine to settle.
    for (const double until = Now() + 0.5; Now() < until;) {
        TimeCalls(kHookProcs[0], cases[0].calls.data(), cases[0].calls.size(), 100);
        TimeCalls(kPassProcs[0], cases[0].calls.data(), cases[0].calls.size(), 100);
    }
    PrintHeader();
    const double start = Now();
    bool stubbedOk = true;
    for (Case& c : cases) {
        UseRealisticSettings(w.program);
        c.real = Measure(c, c.mix ? 3 * rounds : rounds, blockMs, 200);
        if (stubbedOk) {
            const rig::ImportSpy stub(GetModuleHandleW(nullptr), "USER32.dll", "CallNextHookEx",
                                      reinterpret_cast<void*>(ChainEnd));
            stubbedOk = stub.ok();
            if (stubbedOk) {
                UseRealisticSettings(w.program);
                c.stubbed = Measure(c, rounds, blockMs / 2, 50);
            }
        }
        PrintRow(c);
    }
    UseRealisticSettings(w.program);
    if (!stubbedOk) Say("benchmark: note: CallNextHookEx could not be redirected; no stubbed figures\n");
    Say("benchmark: %.1f s, %" PRId64 " reports reached the program window\n", Now() - start, g_reports);
    Say("benchmark: ratio = hook procedure / pass-through with the real CallNextHookEx (one wineserver round trip "
        "each under Wine); extra ns = what the procedure itself adds per call, measured with CallNextHookEx "
        "stubbed\n");

    std::vector<double> ratios(kHookCount, 0.0);
    for (const Case& c : cases)
        if (c.mix) ratios[static_cast<size_t>(c.hook)] = c.real.ratio;
    return ratios;
}

// ==================================================================== fuzz host

uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next() { return Mix(state_ += 0x9E3779B97F4A7C15ull); }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(((Next() >> 32) * n) >> 32); }
    bool Chance(uint32_t percent) { return Below(100) < percent; }
    template <typename T, size_t N>
    T Pick(const T (&items)[N]) {
        return items[Below(static_cast<uint32_t>(N))];
    }

private:
    uint64_t state_;
};

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
constexpr int kFirstLive = kOwnCaptioned, kLiveEnd = kOwnDead1;
const char* const kPoolLabels[kPoolSize] = {
    "own captioned", "own captionless popup", "own hidden captioned", "own tool window", "own child with caption",
    "own captioned, upper 32 bits set", "foreign captioned", "foreign captionless popup",
    "foreign hidden captioned", "foreign Shell_TrayWnd", "foreign DV2ControlHost (hidden)", "foreign BaseBar",
    "own dead", "own dead", "foreign dead", "foreign dead", "garbage", "garbage", "garbage", "garbage",
    "garbage", "garbage", "NULL"};
// Windows that are hidden when the pool is made; the hooks may show them.
constexpr int kHiddenByDesign[] = {kOwnHidden, kForeignHidden, kForeignXpMenu};

FuzzReport* g_report;

LONG WINAPI OnCrash(EXCEPTION_POINTERS* info) {
    if (g_report) {
        g_report->exceptionCode = info->ExceptionRecord->ExceptionCode;
        g_report->exceptionAddress = reinterpret_cast<uintptr_t>(info->ExceptionRecord->ExceptionAddress);
        std::memcpy(&g_report->settings, &g_sharedStorage, sizeof g_report->settings);
        Store(g_report->state, static_cast<LONG>(kCrashed));
    }
    fprintf(stderr, "fuzz host: exception 0x%08lx at event %" PRId64 "\n",
            static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode), g_report ? g_report->next : -1);
    fflush(stderr);
    // The process ends with the exception code as its exit code.
    return EXCEPTION_EXECUTE_HANDLER;
}

class FuzzHost {
public:
    FuzzHost(int64_t perHook, uint64_t seed, FuzzReport* report) : perHook_(perHook), seed_(seed), report_(report) {}
    ~FuzzHost();
    int Run(int64_t first, bool supervised);

private:
    bool BuildPool();
    void RandomiseWorld(int64_t block);
    void RandomiseSettings(Rng& r);
    int PickWindow(Rng& r);
    POINT PickPoint(Rng& r, int window);
    int PickCode(Rng& r);
    LPARAM Pointer(Rng& r, void* structure, FuzzStructure kind);
    LRESULT Feed(int64_t index);
    void TakeStock();

    int64_t perHook_;
    uint64_t seed_;
    FuzzReport* report_;
    std::unique_ptr<rig::HostProcess> helper_;
    HWND control_ = nullptr;  // answers pings; the program window of the record
    HWND pool_[kPoolSize] = {};
    RECT rects_[kPoolSize] = {};
    std::vector<HWND> own_;  // every window this process made, destroyed at the end
    // The structures a call points to.
    MOUSEHOOKSTRUCTEX mouse_ = {};
    CWPSTRUCT cwp_ = {};
    MSG msg_ = {};
    RECT rect_ = {};
    // What the hooks did, as far as it shows: calls answered with nonzero (swallowed
    // or stepped), and at every checkpoint the live windows found layered or topmost
    // and the hidden ones found shown.
    int64_t nonzero_[kHookCount] = {};
    int64_t layered_ = 0, topmost_ = 0, shown_ = 0;
};

FuzzHost::~FuzzHost() {
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    for (auto it = own_.rbegin(); it != own_.rend(); ++it)
        if (IsWindow(*it)) DestroyWindow(*it);
    if (control_) DestroyWindow(control_);
    rig::PumpMessages();
    helper_.reset();  // asks rig_target to quit and waits for it
}

bool FuzzHost::BuildPool() {
    auto own = [&](int index, DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
        const HWND window = MakeWindow(exStyle, style, x, y, w, h, parent, L"Clarovia fuzz");
        pool_[index] = window;
        if (window) own_.push_back(window);
        return window != nullptr;
    };
    bool ok = own(kOwnCaptioned, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 220) &&
              own(kOwnPopup, 0, WS_POPUP | WS_BORDER | WS_VISIBLE, 400, 40, 200, 150) &&
              own(kOwnHidden, 0, WS_OVERLAPPEDWINDOW, 120, 280, 300, 200) &&
              own(kOwnTool, WS_EX_TOOLWINDOW, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 660, 40, 260, 180) &&
              own(kOwnChild, 0, WS_CHILD | WS_CAPTION | WS_VISIBLE, 10, 10, 150, 90, pool_[kOwnCaptioned]);
    if (!ok) return false;
    pool_[kOwnHighBits] = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(pool_[kOwnCaptioned]) |
                                                 (uintptr_t{0xDEADBEEF} << 32));

    helper_ = std::make_unique<rig::HostProcess>(L"rig_target.exe");
    if (!helper_->ok()) return false;
    Store(report_->helperPid, static_cast<uint32_t>(helper_->pid()));
    auto foreign = [&](int index, const wchar_t* cls, DWORD style, int x, int y, int w, int h) {
        rig::WindowSpec shape;
        shape.className = cls;
        shape.title = L"Clarovia fuzz (foreign)";
        shape.style = style;
        shape.x = x;
        shape.y = y;
        shape.width = w;
        shape.height = h;
        const HWND window = helper_->Create(shape);
        if (index >= 0) pool_[index] = window;
        return window;
    };
    ok = foreign(kForeignCaptioned, L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 360, 320, 220) &&
         foreign(kForeignPopup, L"RigWindow", WS_POPUP | WS_BORDER | WS_VISIBLE, 460, 360, 200, 150) &&
         foreign(kForeignHidden, L"RigWindow", WS_OVERLAPPEDWINDOW, 700, 260, 260, 200) &&
         foreign(kForeignTray, L"Shell_TrayWnd", WS_POPUP | WS_VISIBLE, 0, 690, 640, 40) &&
         foreign(kForeignXpMenu, L"DV2ControlHost", WS_POPUP | WS_BORDER, 0, 300, 300, 380) &&
         foreign(kForeignBaseBar, L"BaseBar", WS_POPUP | WS_BORDER | WS_VISIBLE, 700, 480, 200, 200);
    if (!ok) return false;

    // Dead handles: windows made and destroyed again.
    for (int index : {kOwnDead1, kOwnDead2}) {
        const HWND window = MakeWindow(0, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
        DestroyWindow(window);
        pool_[index] = window;
    }
    for (int index : {kForeignDead1, kForeignDead2}) {
        const HWND window = foreign(-1, L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
        helper_->Destroy(window);
        pool_[index] = window;
    }
    // Garbage: values that name no window. Never HWND_BROADCAST or (HWND)-1, which
    // user32 takes as "every top-level window", in whatever width: a broadcast would
    // reach the whole shared desktop.
    auto v32 = [](HWND h) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h)); };
    Rng r(Mix(seed_ ^ 0x6A7BA6Eull));
    for (int index = kGarbage1; index <= kGarbage6; ++index) {
        HWND candidate;
        do {
            uint64_t v = r.Next();
            switch (index - kGarbage1) {
            case 0: v &= 0xFFFF; break;             // a bare handle index
            case 1: v &= 0xFFFFFFFF; break;         // a 32-bit handle word
            case 2: v = static_cast<uint64_t>(static_cast<int64_t>(static_cast<int32_t>(v))); break;
            case 3: v |= 0xFFFF; break;              // looks like a handle, generation anything
            default: break;                          // anything at all
            }
            candidate = reinterpret_cast<HWND>(static_cast<uintptr_t>(v));
        } while (IsWindow(candidate) || candidate == nullptr || (v32(candidate) == 0xFFFF) ||
                 v32(candidate) == 0xFFFFFFFF);
        pool_[index] = candidate;
    }
    pool_[kNull] = nullptr;
    for (int index : {kOwnDead1, kOwnDead2, kForeignDead1, kForeignDead2})
        if (IsWindow(pool_[index])) return false;
    return true;
}

// Now and then: new settings, new modifier keys, and some of what the hooks did to
// the windows undone or stirred, so that every branch keeps being reached.
void FuzzHost::TakeStock() {
    for (int index = kFirstLive; index < kLiveEnd; ++index) {
        const LONG exStyle = GetWindowLongW(pool_[index], GWL_EXSTYLE);
        if (exStyle & WS_EX_LAYERED) ++layered_;
        if (exStyle & WS_EX_TOPMOST) ++topmost_;
    }
    for (int index : kHiddenByDesign)
        if (IsWindowVisible(pool_[index])) ++shown_;
}

void FuzzHost::RandomiseWorld(int64_t block) {
    TakeStock();
    Rng r(Mix(seed_ ^ Mix(0x3000000000000000ull + static_cast<uint64_t>(block))));
    RandomiseSettings(r);
    std::memcpy(&report_->settings, &g_sharedStorage, sizeof report_->settings);

    BYTE keys[256] = {};
    if (r.Chance(30)) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    if (r.Chance(10)) keys[VK_SHIFT] = keys[VK_RSHIFT] = 0x80;
    if (r.Chance(30)) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    SetKeyboardState(keys);

    if (r.Chance(25)) {
        for (int index : kHiddenByDesign)
            SetWindowPos(pool_[index], HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    if (r.Chance(25)) {
        const HWND window = pool_[kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive))];
        SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    }
    if (r.Chance(10)) {
        for (int index = kFirstLive; index < kLiveEnd; ++index)
            SetWindowPos(pool_[index], HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (r.Chance(15)) {
        const HWND window = pool_[kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive))];
        if (IsWindowVisible(window)) SetForegroundWindow(window);
    }
    for (int index = 0; index < kPoolSize; ++index) {
        RECT rc = {};
        if (index < kLiveEnd && GetWindowRect(pool_[index], &rc) && rc.right > rc.left && rc.bottom > rc.top) {
            rects_[index] = rc;
        } else {
            const LONG x = static_cast<LONG>(r.Below(900)), y = static_cast<LONG>(r.Below(700));
            rects_[index] = RECT{x, y, x + 100 + static_cast<LONG>(r.Below(300)), y + 100 + static_cast<LONG>(r.Below(300))};
        }
    }
}

int32_t AnyInt(Rng& r) {
    static const int32_t edges[] = {INT_MIN, INT_MIN + 1, -100000, -256, -255, -5, -1, 0, 1, 2, 3, 4,
                                    9, 10, 11, 127, 128, 200, 254, 255, 256, 300, 65535, 100000, INT_MAX};
    switch (r.Below(3)) {
    case 0: return r.Pick(edges);
    case 1: return static_cast<int32_t>(r.Below(600)) - 100;
    default: return static_cast<int32_t>(r.Next());
    }
}

int32_t Flag(Rng& r) { return r.Chance(90) ? static_cast<int32_t>(r.Below(2)) : AnyInt(r); }

int32_t Alpha(Rng& r) {
    static const int32_t values[] = {-5, -1, 0, 1, 9, 10, 11, 100, 128, 200, 254, 255, 256, 300, 100000, INT_MIN, INT_MAX};
    switch (r.Below(3)) {
    case 0: return r.Pick(values);
    case 1: return static_cast<int32_t>(r.Below(256));
    default: return AnyInt(r);
    }
}

void FuzzHost::RandomiseSettings(Rng& r) {
    volatile SharedSettings& s = g_shared;
    s.Locked = r.Chance(90) ? 0 : Flag(r);
    s.SClickTP = Flag(r);
    s.MClickTP = Flag(r);
    s.WheelTP = Flag(r);
    s.MoveTP = Flag(r);
    s.MoveTPLimit = Flag(r);
    s.SizingTP = Flag(r);
    s.ClaroviaValue = Alpha(r);
    s.MoveTPValue = Alpha(r);
    s.SizingTPValue = Alpha(r);
    s.TaskbarTPValue = Alpha(r);
    static const int32_t steps[] = {INT_MIN, -100000, -300, -5, -1, 0, 1, 5, 10, 20, 255, 300, 100000, INT_MAX};
    s.WheelTPValue = r.Chance(70) ? r.Pick(steps) : AnyInt(r);
    s.WheelLevel = Alpha(r);
    static const int32_t sizes[] = {INT_MIN, -1, 0, 1, 100, 300, 500, 800, 5000, INT_MAX};
    s.MoveTPW = r.Chance(70) ? r.Pick(sizes) : AnyInt(r);
    s.MoveTPH = r.Chance(70) ? r.Pick(sizes) : AnyInt(r);
    s.MovingActive = Flag(r);
    s.SizingActive = Flag(r);
    s.WheelActive = Flag(r);
    s.ShadeTP = Flag(r);
    s.ShadeRight = Flag(r);
    s.ShadeArea = r.Chance(90) ? static_cast<int32_t>(r.Below(4)) : AnyInt(r);
    s.StartButtonTextTP = Flag(r);
    s.OverlapTP = Flag(r);
    s.TopmostTP = Flag(r);
    s.TaskbarTP = Flag(r);
    s.StartMenuTP = Flag(r);
    // The program window: mostly this process's, sometimes none, a dead one or a window
    // that is no program window at all. (Never garbage: see BuildPool.)
    static const int others[] = {kNull, kOwnDead1, kForeignDead1, kOwnCaptioned, kForeignCaptioned};
    s.ProgramWindow = WordFromHandle(r.Chance(85) ? control_ : pool_[r.Pick(others)]);
    // Hook handles: CallNextHookEx is given whatever the record holds.
    const bool junkHooks = r.Chance(10);
    s.MouseHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.CallWndProcHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.KeyboardHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.GetMessageHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
    s.ShellHook = junkHooks ? static_cast<uint32_t>(r.Next()) : 0;
}

int FuzzHost::PickWindow(Rng& r) {
    if (r.Chance(70)) return kFirstLive + static_cast<int>(r.Below(kLiveEnd - kFirstLive));
    return static_cast<int>(r.Below(kPoolSize));
}

// Mostly on the window's title bar or frame, where the gestures act.
POINT FuzzHost::PickPoint(Rng& r, int window) {
    const RECT& rc = rects_[window >= 0 ? window : kOwnCaptioned];
    const LONG w = std::max<LONG>(1, rc.right - rc.left), h = std::max<LONG>(1, rc.bottom - rc.top);
    switch (r.Below(6)) {
    case 0:
    case 1:
        return POINT{rc.left + static_cast<LONG>(r.Below(static_cast<uint32_t>(w))),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(std::min<LONG>(h, 32))))};
    case 2:
        return POINT{r.Chance(50) ? rc.left + static_cast<LONG>(r.Below(5)) : rc.right - 1 - static_cast<LONG>(r.Below(5)),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(h)))};
    case 3:
        return POINT{rc.left + static_cast<LONG>(r.Below(static_cast<uint32_t>(w))),
                     rc.top + static_cast<LONG>(r.Below(static_cast<uint32_t>(h)))};
    case 4:
        return POINT{static_cast<LONG>(r.Below(1024)), static_cast<LONG>(r.Below(768))};
    default:
        return POINT{static_cast<int16_t>(r.Next()), static_cast<int16_t>(r.Next())};
    }
}

int FuzzHost::PickCode(Rng& r) {
    const uint32_t roll = r.Below(100);
    if (roll < 85) return HC_ACTION;
    if (roll < 90) return HC_NOREMOVE;
    if (roll < 95) return -1 - static_cast<int>(r.Below(5));
    return AnyInt(r);
}

LPARAM FuzzHost::Pointer(Rng& r, void* structure, FuzzStructure kind) {
    if (r.Chance(2)) {
        report_->input.structure = kNullPointer;
        return 0;
    }
    report_->input.structure = kind;
    return reinterpret_cast<LPARAM>(structure);
}

int64_t HitTestCode(Rng& r) {
    static const int64_t gesture[] = {HTCAPTION, HTLEFT, HTRIGHT, HTTOP, HTTOPLEFT, HTTOPRIGHT,
                                      HTBOTTOM, HTBOTTOMLEFT, HTBOTTOMRIGHT, HTBORDER};
    static const int64_t other[] = {HTERROR, HTTRANSPARENT, HTNOWHERE, HTCLIENT, HTSYSMENU, HTGROWBOX, HTMENU,
                                    HTHSCROLL, HTVSCROLL, HTMINBUTTON, HTMAXBUTTON, HTOBJECT, HTCLOSE, HTHELP};
    const uint32_t roll = r.Below(100);
    if (roll < 55) return r.Pick(gesture);
    if (roll < 85) return r.Pick(other);
    return AnyInt(r);
}

uint64_t AnyWord(Rng& r) {
    switch (r.Below(3)) {
    case 0: return static_cast<uint64_t>(static_cast<int64_t>(AnyInt(r)));
    case 1: return r.Next() & 0xFFFFFFFF;
    default: return r.Next();
    }
}

// One event for one hook procedure, made from the seed and its index alone.
LRESULT FuzzHost::Feed(int64_t index) {
    Rng r(Mix(seed_ ^ Mix(static_cast<uint64_t>(index))));
    const int hook = static_cast<int>(index % kHookCount);
    FuzzInput& in = report_->input;
    in = FuzzInput{};
    in.hook = hook;
    in.window = -1;
    int code = PickCode(r);
    WPARAM wParam = 0;
    LPARAM lParam = 0;

    switch (hook) {
    case 0: {  // mouse: wParam the mouse message, lParam a MOUSEHOOKSTRUCT(EX)
        static const UINT acted[] = {WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
        static const UINT other[] = {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                     WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_NCLBUTTONUP, WM_NCRBUTTONUP,
                                     WM_NCRBUTTONDBLCLK, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK, WM_MOUSEWHEEL,
                                     WM_MOUSEHWHEEL, WM_NCXBUTTONDOWN, WM_XBUTTONDOWN};
        const uint32_t roll = r.Below(100);
        uint64_t message = roll < 60 ? r.Pick(acted) : roll < 85 ? r.Pick(other) : AnyWord(r);
        if (r.Chance(3)) message |= r.Next() << 32;  // the hook looks at the low 32 bits only
        wParam = static_cast<WPARAM>(message);
        const int window = PickWindow(r);
        const POINT pt = PickPoint(r, window);
        mouse_ = MOUSEHOOKSTRUCTEX{};
        mouse_.pt = pt;
        mouse_.hwnd = pool_[window];
        mouse_.wHitTestCode = static_cast<UINT>(HitTestCode(r));
        mouse_.dwExtraInfo = static_cast<ULONG_PTR>(AnyWord(r));
        mouse_.mouseData = static_cast<DWORD>(AnyWord(r));
        lParam = Pointer(r, &mouse_, kMouseStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(mouse_.hwnd);
        in.message = message;
        in.hitTest = static_cast<int32_t>(mouse_.wHitTestCode);
        in.x = pt.x;
        in.y = pt.y;
        break;
    }
    case 1: {  // call-window-proc: lParam a CWPSTRUCT
        static const UINT acted[] = {WM_PAINT, WM_ACTIVATE, WM_ACTIVATEAPP, WM_MOVING,
                                     WM_SIZING, WM_EXITSIZEMOVE, WM_ENTERSIZEMOVE};
        static const UINT other[] = {WM_GETTEXT, WM_SETCURSOR, WM_NCHITTEST, WM_WINDOWPOSCHANGED, WM_NCPAINT,
                                     WM_ERASEBKGND, WM_NCACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_USER + 5};
        const uint32_t roll = r.Below(100);
        const UINT message = roll < 65 ? r.Pick(acted) : roll < 85 ? r.Pick(other) : static_cast<UINT>(AnyWord(r));
        static const WPARAM activations[] = {WA_INACTIVE, WA_ACTIVE, WA_CLICKACTIVE, 0x10001};
        const int window = PickWindow(r);
        const LONG x = static_cast<LONG>(r.Below(900)), y = static_cast<LONG>(r.Below(700));
        rect_ = RECT{x, y, x + static_cast<LONG>(r.Below(1200)), y + static_cast<LONG>(r.Below(900))};
        cwp_ = CWPSTRUCT{};
        cwp_.hwnd = pool_[window];
        cwp_.message = message;
        cwp_.wParam = r.Chance(70) ? r.Pick(activations) : static_cast<WPARAM>(AnyWord(r));
        cwp_.lParam = r.Chance(70) ? reinterpret_cast<LPARAM>(&rect_) : static_cast<LPARAM>(AnyWord(r));
        wParam = r.Chance(90) ? r.Below(2) : static_cast<WPARAM>(AnyWord(r));
        lParam = Pointer(r, &cwp_, kCwpStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(cwp_.hwnd);
        in.message = message;
        in.innerWParam = cwp_.wParam;
        in.innerLParam = static_cast<uint64_t>(cwp_.lParam);
        break;
    }
    case 2: {  // keyboard: wParam the key, lParam the key data
        const uint32_t roll = r.Below(100);
        static const uint64_t escVariants[] = {0xC0010001u, 0x40010001u, 0x80010001u, 0x00000001u,
                                               0x00010002u, 0x01010001u, 0x20010001u, 0x100010001ull,
                                               0xFFFFFFFF00010001ull};
        if (roll < 45)
            lParam = 0x00010001;
        else if (roll < 65)
            lParam = static_cast<LPARAM>(r.Pick(escVariants));
        else
            lParam = static_cast<LPARAM>(AnyWord(r));
        wParam = r.Chance(50) ? VK_ESCAPE : r.Chance(80) ? r.Below(256) : static_cast<WPARAM>(AnyWord(r));
        in.structure = kValue;
        break;
    }
    case 3: {  // get-message: lParam the MSG, which the hook may change
        static const UINT ordinary[] = {WM_TIMER, WM_MOUSEMOVE, WM_KEYDOWN, WM_PAINT, WM_NCLBUTTONDOWN, WM_CHAR};
        const uint32_t roll = r.Below(100);
        UINT message;
        if (roll < 60) message = WM_MOUSEWHEEL;
        else if (roll < 70) message = WM_MOUSEHWHEEL;
        else if (roll < 85) message = r.Pick(ordinary);
        else message = static_cast<UINT>(AnyWord(r));
        static const int16_t deltas[] = {WHEEL_DELTA, -WHEEL_DELTA, 2 * WHEEL_DELTA, -2 * WHEEL_DELTA,
                                         1, -1, 0, SHRT_MAX, SHRT_MIN};
        const int16_t delta = r.Chance(80) ? r.Pick(deltas) : static_cast<int16_t>(r.Next());
        const int window = PickWindow(r);
        const POINT pt = PickPoint(r, window);
        msg_ = MSG{};
        msg_.hwnd = pool_[window];
        msg_.message = message;
        msg_.wParam = r.Chance(85) ? MAKEWPARAM(r.Below(0x80), static_cast<uint16_t>(delta))
                                   : static_cast<WPARAM>(AnyWord(r));
        msg_.lParam = r.Chance(90) ? MAKELPARAM(pt.x, pt.y) : static_cast<LPARAM>(AnyWord(r));
        msg_.time = static_cast<DWORD>(r.Next());
        msg_.pt = pt;
        static const WPARAM removal[] = {PM_REMOVE, PM_NOREMOVE};
        wParam = r.Chance(90) ? r.Pick(removal) : static_cast<WPARAM>(AnyWord(r));
        lParam = Pointer(r, &msg_, kMsgStruct);
        in.window = window;
        in.hwnd = reinterpret_cast<uintptr_t>(msg_.hwnd);
        in.message = message;
        in.x = pt.x;
        in.y = pt.y;
        in.innerWParam = msg_.wParam;
        in.innerLParam = static_cast<uint64_t>(msg_.lParam);
        break;
    }
    default: {  // shell: the code is the event, wParam the window
        static const int others[] = {HSHELL_WINDOWDESTROYED, HSHELL_ACTIVATESHELLWINDOW, HSHELL_WINDOWACTIVATED,
                                     HSHELL_GETMINRECT, HSHELL_REDRAW, HSHELL_TASKMAN, HSHELL_LANGUAGE,
                                     HSHELL_SYSMENU, HSHELL_ENDTASK, HSHELL_ACCESSIBILITYSTATE,
                                     HSHELL_APPCOMMAND, HSHELL_WINDOWREPLACED, HSHELL_WINDOWREPLACING,
                                     HSHELL_MONITORCHANGED, HSHELL_RUDEAPPACTIVATED, HSHELL_FLASH};
        const uint32_t roll = r.Below(100);
        code = roll < 55 ? HSHELL_WINDOWCREATED : roll < 80 ? r.Pick(others) : AnyInt(r);
        const int window = PickWindow(r);
        wParam = r.Chance(85) ? reinterpret_cast<WPARAM>(pool_[window]) : static_cast<WPARAM>(AnyWord(r));
        lParam = r.Chance(50) ? 0 : static_cast<LPARAM>(AnyWord(r));
        in.window = window;
        in.hwnd = wParam;
        in.structure = kValue;
        break;
    }
    }
    in.code = code;
    in.wParam = wParam;
    in.lParam = static_cast<uint64_t>(lParam);
    Store(report_->next, index);
    return kHookProcs[hook](code, wParam, lParam);
}

int FuzzHost::Run(int64_t first, bool supervised) {
    control_ = CreateWindowExW(0, kWindowClass, L"Clarovia fuzz host", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!control_ || !BuildPool()) {
        Say("fuzz host: could not make the window pool (rig_target.exe next to this program?)\n");
        Store(report_->state, static_cast<LONG>(kFailed));
        return 2;
    }
    Store(report_->hostWindow, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(control_)));
    Store(report_->state, static_cast<LONG>(kReady));

    const int64_t total = perHook_ * kHookCount;
    constexpr int64_t kWorldEvery = 1000;
    Say("fuzz host: %" PRId64 " events per hook procedure from event %" PRId64 ", seed %" PRIu64
        ", %d windows in the pool\n",
        perHook_, first, seed_, static_cast<int>(kPoolSize));
    const double start = Now();
    ULONGLONG lastPump = GetTickCount64();
    int64_t fed = 0;
    int64_t nextProgress = (first / (total / 10 + 1) + 1) * (total / 10 + 1);
    for (int64_t i = first; i < total; ++i) {
        if (i == first || i % kWorldEvery == 0) RandomiseWorld(i / kWorldEvery);
        if (Feed(i) != 0) ++nonzero_[i % kHookCount];
        Store(report_->fed, ++fed);
        // The reports the hooks post, and whatever the windows were sent, are handled
        // between batches; the supervisor's pings with them.
        if ((i & 31) == 0 && GetTickCount64() - lastPump >= 10) {
            rig::PumpMessages();
            lastPump = GetTickCount64();
        }
        if (i + 1 >= nextProgress && i + 1 < total) {
            Say("fuzz host: %" PRId64 "%% (%" PRId64 " of %" PRId64 " events, %.1f s)\n", (i + 1) * 100 / total,
                i + 1, total, Now() - start);
            nextProgress += total / 10 + 1;
        }
    }
    rig::PumpMessages();
    Store(report_->state, static_cast<LONG>(kFinished));
    TakeStock();
    Say("fuzz host: %.1f s, %" PRId64 " reports reached the program window\n", Now() - start, g_reports);
    Say("fuzz host: nonzero answers: mouse %" PRId64 ", callwndproc %" PRId64 ", keyboard %" PRId64
        ", getmessage %" PRId64 ", shell %" PRId64 "; at the checkpoints: live windows layered %" PRId64
        " times, topmost %" PRId64 " times, hidden ones shown %" PRId64 " times\n",
        nonzero_[0], nonzero_[1], nonzero_[2], nonzero_[3], nonzero_[4], layered_, topmost_, shown_);
    Say("fuzzed %" PRId64 " events\n", fed);

    if (supervised) {
        // Stays answering until the supervisor has checked on it and says quit.
        const ULONGLONG until = GetTickCount64() + 60000;
        while (!Load(report_->quit) && GetTickCount64() < until) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            rig::PumpMessages();
        }
    }
    return 0;
}

int FuzzMain(int64_t perHook, uint64_t seed, int64_t first, const wchar_t* reportName) {
    FuzzReport local = {};
    FuzzReport* report = &local;
    HANDLE mapping = nullptr;
    if (reportName) {
        mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, reportName);
        if (mapping) report = static_cast<FuzzReport*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FuzzReport)));
        if (!report) {
            Say("fuzz host: cannot open the report mapping\n");
            return 2;
        }
    }
    g_report = report;
    SetUnhandledExceptionFilter(OnCrash);
    int status;
    {
        FuzzHost host(perHook, seed, report);
        status = host.Run(first, reportName != nullptr);
    }
    g_report = nullptr;
    if (mapping) {
        UnmapViewOfFile(report);
        CloseHandle(mapping);
    }
    return status;
}

// ================================================================ fuzz supervisor

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

std::string Hex(uint64_t v) {
    char buf[24];
    snprintf(buf, sizeof buf, "0x%" PRIx64, v);
    return buf;
}

std::string Describe(const FuzzInput& in) {
    std::string s = std::string(kHookNames[in.hook < 0 || in.hook >= kHookCount ? 0 : in.hook]) +
                    " hook: code " + std::to_string(in.code) + ", wParam " + Hex(in.wParam);
    auto window = [&] {
        std::string w = Hex(in.hwnd);
        if (in.window >= 0 && in.window < kPoolSize) w += std::string(" (") + kPoolLabels[in.window] + ")";
        return w;
    };
    auto message = [&] {
        const char* name = MessageName(in.message);
        return Hex(in.message) + (*name ? std::string(" ") + name : std::string());
    };
    switch (in.structure) {
    case kNullPointer:
        s += ", lParam NULL";
        break;
    case kMouseStruct:
        s += " " + std::string(MessageName(in.wParam)) + ", MOUSEHOOKSTRUCTEX{hwnd " + window() + ", pt (" +
             std::to_string(in.x) + "," + std::to_string(in.y) + "), hit-test " + std::to_string(in.hitTest) + "}";
        break;
    case kCwpStruct:
        s += ", CWPSTRUCT{message " + message() + ", hwnd " + window() + ", wParam " + Hex(in.innerWParam) +
             ", lParam " + Hex(in.innerLParam) + "}";
        break;
    case kMsgStruct:
        s += ", MSG{message " + message() + ", hwnd " + window() + ", wParam " + Hex(in.innerWParam) +
             ", lParam " + Hex(in.innerLParam) + ", pt (" + std::to_string(in.x) + "," + std::to_string(in.y) + ")}";
        break;
    default:
        s += ", lParam " + Hex(in.lParam);
        if (in.hook == 4) s += " (window " + window() + ")";
        break;
    }
    return s;
}

std::string DescribeSettings(const SharedSettings& s) {
    char buf[512];
    snprintf(buf, sizeof buf,
             "Locked %d SClickTP %d MClickTP %d WheelTP %d MoveTP %d MoveTPLimit %d SizingTP %d ClaroviaValue %d "
             "MoveTPValue %d SizingTPValue %d TaskbarTPValue %d WheelTPValue %d WheelLevel %d MoveTPW %d "
             "MoveTPH %d MovingActive %d SizingActive %d WheelActive %d ShadeTP %d ShadeRight %d ShadeArea %d "
             "TopmostTP %d TaskbarTP %d StartMenuTP %d ProgramWindow 0x%x",
             s.Locked, s.SClickTP, s.MClickTP, s.WheelTP, s.MoveTP, s.MoveTPLimit, s.SizingTP, s.ClaroviaValue,
             s.MoveTPValue, s.SizingTPValue, s.TaskbarTPValue, s.WheelTPValue, s.WheelLevel, s.MoveTPW, s.MoveTPH,
             s.MovingActive, s.SizingActive, s.WheelActive, s.ShadeTP, s.ShadeRight, s.ShadeArea, s.TopmostTP,
             s.TaskbarTP, s.StartMenuTP, s.ProgramWindow);
    return buf;
}

// Ends the window host a dead fuzz host left behind (by its id, and only if it is one).
void EndLeftHelper(DWORD pid) {
    if (!pid) return;
    const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return;
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    if (QueryFullProcessImageNameW(process, 0, path, &size) && size >= 14 &&
        _wcsicmp(path + size - 14, L"rig_target.exe") == 0 && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
    }
    CloseHandle(process);
}

bool Ping(HWND window) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutW(window, kPingMessage, 0, 0, SMTO_NORMAL, 2000, &answer) &&
           answer == static_cast<DWORD_PTR>(kPingAnswer);
}

// Waits for `process`, handling this thread's messages meanwhile; false on timeout.
bool WaitProcess(HANDLE process, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= until ? 0 : static_cast<DWORD>(until - now);
        const DWORD r = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        rig::PumpMessages();
        if (r == WAIT_TIMEOUT || GetTickCount64() >= until) return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    }
}

// Runs fuzz hosts until every event has been fed: a host that crashes or stops
// answering is counted, and the next one carries on after the event it died on.
FuzzVerdict SuperviseFuzz(int64_t perHook, uint64_t seed, double timeoutSeconds) {
    FuzzVerdict verdict;
    const double start = Now();
    wchar_t name[96];
    swprintf(name, 96, L"ClaroviaBenchFuzz.%lu", GetCurrentProcessId());
    const HANDLE mapping =
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FuzzReport), name);
    auto* report = mapping ? static_cast<FuzzReport*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    if (!report) {
        Say("fuzz: cannot make the report mapping\n");
        verdict.failed = true;
        return verdict;
    }
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    // The hosts write to this program's output.
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE), err = GetStdHandle(STD_ERROR_HANDLE);
    SetHandleInformation(out, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    SetHandleInformation(err, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    const int64_t total = perHook * kHookCount;
    constexpr int kMaxRuns = 20;
    int64_t first = 0;
    while (first < total && verdict.runs < kMaxRuns) {
        std::memset(report, 0, sizeof *report);
        report->next = first;
        std::wstring command = L"\"" + std::wstring(self) + L"\" --fuzz " + std::to_wstring(perHook) +
                               L" --seed " + std::to_wstring(seed) + L" --first " + std::to_wstring(first) +
                               L" --report " + name;
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = nullptr;
        si.hStdOutput = out;
        si.hStdError = err;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            Say("fuzz: cannot start the fuzz host (error %lu)\n", GetLastError());
            verdict.failed = true;
            break;
        }
        ++verdict.runs;
        enum { kRunning, kExited, kHung, kOutOfTime } end = kRunning;
        bool answered = false;
        ULONGLONG lastPing = GetTickCount64();
        while (end == kRunning) {
            if (WaitProcess(pi.hProcess, 250)) {
                end = kExited;
                break;
            }
            const LONG state = Load(report->state);
            const HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(Load(report->hostWindow)));
            if (state == kFinished) {
                // The last check: the host still answers after all its events.
                answered = Ping(host);
                Store(report->quit, LONG{1});
                PostMessageW(host, kWakeMessage, 0, 0);
                if (!WaitProcess(pi.hProcess, 15000)) end = kHung;
                else end = kExited;
                break;
            }
            if (state == kReady && GetTickCount64() - lastPing >= 500) {
                if (!Ping(host) && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) end = kHung;
                lastPing = GetTickCount64();
            }
            if (Now() - start > timeoutSeconds) end = kOutOfTime;
        }
        if (end != kExited) {
            TerminateProcess(pi.hProcess, 0xDEAD);
            WaitForSingleObject(pi.hProcess, 10000);
        }
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        EndLeftHelper(Load(report->helperPid));

        const LONG state = Load(report->state);
        const int64_t fed = Load(report->fed);
        const int64_t at = Load(report->next);
        verdict.events += fed;
        if (end == kExited && state == kFinished && code == 0) {
            verdict.answered = answered;
            if (!answered) Say("fuzz: the host did not answer within 2 s after its last event\n");
            break;
        }
        if (state == kStarting || state == kFailed) {
            Say("fuzz: the host did not get going (exit code 0x%lx)\n", code);
            verdict.failed = true;
            break;
        }
        if (end == kOutOfTime) {
            Say("fuzz: out of time after %.0f s, at event %" PRId64 "\n", Now() - start, at);
            verdict.timedOut = true;
            break;
        }
        if (state == kFinished) {
            // All events went through, but the host did not end cleanly.
            ++verdict.crashes;
            Say("fuzz: CRASH: the host ended with 0x%lx after its last event\n", code);
            break;
        }
        // Died or stuck on event `at`: counted, and the next host starts after it.
        ++verdict.events;
        if (end == kHung) {
            ++verdict.hangs;
            Say("fuzz: HANG: no answer within 2 s, at event %" PRId64 ": %s\n", at, Describe(report->input).c_str());
            Say("fuzz:   settings (last checkpoint): %s\n", DescribeSettings(report->settings).c_str());
        } else {
            ++verdict.crashes;
            Say("fuzz: CRASH: exception 0x%08lx at %s, event %" PRId64 ": %s\n",
                static_cast<unsigned long>(report->exceptionCode ? report->exceptionCode : code),
                Hex(report->exceptionAddress).c_str(), at, Describe(report->input).c_str());
            Say("fuzz:   settings: %s\n", DescribeSettings(report->settings).c_str());
        }
        Say("fuzz:   replay: vitrel_bench --fuzz %" PRId64 " --seed %" PRIu64 " --first %" PRId64 "\n", perHook,
            seed, at);
        first = at + 1;
    }
    if (first < total && verdict.runs >= kMaxRuns) {
        Say("fuzz: gave up after %d hosts\n", verdict.runs);
        verdict.failed = true;
    }
    UnmapViewOfFile(report);
    CloseHandle(mapping);
    verdict.seconds = Now() - start;
    Say("fuzz: %" PRId64 " events in %.1f s, %d host run(s), %d crash(es), %d hang(s), host answered at the end: %s\n",
        verdict.events, verdict.seconds, verdict.runs, verdict.crashes, verdict.hangs, verdict.answered ? "yes" : "no");
    return verdict;
}

// ========================================================================= main

struct Options {
    enum Mode { kBenchmark, kFuzzHost, kFuzzCheck } mode = kBenchmark;
    int64_t events = 1000000;  // fuzz events per hook procedure
    uint64_t seed = 20261207;
    int64_t first = 0;
    const wchar_t* report = nullptr;
    bool fuzz = true;
    int rounds = 15;
    double blockMs = 30;
    double timeout = 0;
};

bool ParseNumber(const wchar_t* text, int64_t* out) {
    wchar_t* end = nullptr;
    const long long v = wcstoll(text, &end, 10);
    if (!text[0] || *end || v < 0) return false;
    *out = v;
    return true;
}

int Usage() {
    Say("usage: vitrel_bench [--events N] [--seed S] [--no-fuzz] [--rounds R] [--block-ms M] [--timeout S]\n"
        "       vitrel_bench --fuzz N [--seed S] [--first K]\n"
        "       vitrel_bench --fuzz-check N [--seed S] [--timeout S]\n");
    return 64;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool hasValue = i + 1 < argc;
        int64_t v = 0;
        if (a == L"--no-fuzz") {
            o.fuzz = false;
        } else if (!hasValue || !ParseNumber(argv[i + 1], &v)) {
            if (a == L"--report" && hasValue) {
                o.report = argv[++i];
                continue;
            }
            return Usage();
        } else if (a == L"--fuzz" || a == L"--fuzz-check") {
            o.mode = a == L"--fuzz" ? Options::kFuzzHost : Options::kFuzzCheck;
            o.events = v;
            ++i;
        } else if (a == L"--events") {
            o.events = v;
            ++i;
        } else if (a == L"--seed") {
            o.seed = static_cast<uint64_t>(v);
            ++i;
        } else if (a == L"--first") {
            o.first = v;
            ++i;
        } else if (a == L"--rounds" && v > 0) {
            o.rounds = static_cast<int>(v);
            ++i;
        } else if (a == L"--block-ms" && v > 0) {
            o.blockMs = static_cast<double>(v);
            ++i;
        } else if (a == L"--timeout" && v > 0) {
            o.timeout = static_cast<double>(v);
            ++i;
        } else {
            return Usage();
        }
    }
    if (o.events < 1) return Usage();

    VitrelEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
    RegisterWindowClass();

    if (o.mode == Options::kFuzzHost) return FuzzMain(o.events, o.seed, o.first, o.report);

    // A fuzz run may take this long before it counts as stuck as a whole (hangs of
    // single events are caught within seconds by the pings).
    const double timeout = o.timeout > 0 ? o.timeout : 30.0 + static_cast<double>(o.events) * kHookCount * 0.001;
    if (o.mode == Options::kFuzzCheck) {
        const FuzzVerdict v = SuperviseFuzz(o.events, o.seed, timeout);
        Say("fuzz %" PRId64 " events %d crashes\n", v.events, v.crashes);
        return v.ok() ? 0 : 1;
    }

    const std::vector<double> ratios = RunBenchmark(o.rounds, o.blockMs);
    if (ratios.empty()) return 2;
    FuzzVerdict v;
    if (o.fuzz) v = SuperviseFuzz(o.events, o.seed, timeout);

    constexpr double kGoal = 1.10;
    bool goalMet = true;
    for (int h = 0; h < kHookCount; ++h) {
        const double r = ratios[static_cast<size_t>(h)];
        if (r > kGoal) {
            goalMet = false;
            Say("goal missed: %s hook costs %.2fx the pass-through on messages it does not act on "
                "(goal %.2fx, %.0f%% over)\n",
                kHookNames[h], r, kGoal, (r / kGoal - 1.0) * 100.0);
        }
    }
    if (goalMet) Say("goal met: every hook procedure within %.2fx of the pass-through on messages it does not act on\n", kGoal);
    for (int h = 0; h < kHookCount; ++h) Say("ratio %s %.2f\n", kHookNames[h], ratios[static_cast<size_t>(h)]);
    Say("fuzz %" PRId64 " events %d crashes\n", v.events, v.crashes);
    if (o.fuzz && !v.ok()) return 1;
    return goalMet ? 0 : 3;
}
