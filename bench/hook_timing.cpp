// The benchmark of vitrel_bench: every hook procedure timed against a bare
// pass-through on prepared calls, once with USER32's CallNextHookEx and once with it
// stubbed, so that what the procedure itself adds shows under Wine too.
#include <windows.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "hook_bench.h"
#include "import_spy.h"
#include "rig.h"
#include "shared_settings.h"

namespace hookbench {
namespace {


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

}  // namespace

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

}  // namespace hookbench
