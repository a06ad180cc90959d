// The rules per program: what a window that appears costs the running program when it
// has 64 rules, against what it costs with none.
//
// The library posts the program WM_WINDOW_CREATED for every top-level window that
// appears; here the report is posted exactly as the library posts it, for one window of
// rig_target.exe, again and again (in batches, waiting for the program after each). The
// 64 rules are made so that every one is compared and none matches: 62 for other
// programs, and two for rig_target.exe with classes the window does not have; the
// program thus reads the window's class, checks its caption and owner, and reads its
// process's file name, each time. Without rules it returns at once. The figures are what
// a report costs beyond a bare message (WM_NULL, posted and taken the same way, in
// batches between the reports' in the same run): the message's own dispatch does not count. Before the figure counts, a marker window whose class the last
// rule names must come up translucent from one more report (the rules are in force) and
// the measured window must have stayed opaque.
//
// Summary: rules <us> us per created window, 64 rules; rules-none <us> us per created
// window, no rules. Goal: under 50 us with 64 rules.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"

namespace bench {

namespace {

constexpr UINT kWindowCreated = WM_USER + 61;
// Half the queue limit of Windows (10,000): few batches, so few waits for the program.
constexpr long kBatch = 5000;
constexpr int kRules = 64;
constexpr DWORD kMarkerLevel = 200;
constexpr double kGoalUs = 50;
constexpr wchar_t kHostExe[] = L"rig_target.exe";
constexpr wchar_t kMeasuredClass[] = L"RulesBenchWindow";
constexpr wchar_t kMarkerClass[] = L"RulesBenchMarker";

void WriteRule(int index, const std::wstring& program, const std::wstring& cls, DWORD level) {
    const std::wstring section = L"Rules\\" + std::to_wstring(index);
    rig::settings::SetString(L"Program", program, section.c_str());
    rig::settings::SetString(L"Class", cls, section.c_str());
    rig::settings::SetDword(L"Level", level, section.c_str());
    rig::settings::SetDword(L"OnTop", 0, section.c_str());
}

// 62 rules for other programs (names that share the host's first letters), then the
// host's for a class no window has and for the marker's class.
void WriteRules() {
    for (int i = 0; i < kRules - 2; ++i) WriteRule(i, L"rig_target_" + std::to_wstring(i) + L".exe", L"", 150);
    WriteRule(kRules - 2, kHostExe, L"RulesBenchNoSuchClass", 150);
    WriteRule(kRules - 1, kHostExe, kMarkerClass, kMarkerLevel);
}

// Posts `n` reports for `window` in batches, waiting for the program after each, and as
// many WM_NULL, which the program takes without effect, in batches between them: the
// seconds the reports took beyond what the same number of bare messages took.
bool Post(rig::ProgramProbe& probe, HWND program, HWND window, long n, double& seconds) {
    seconds = 0;
    for (long done = 0; done < n;) {
        const long batch = n - done < kBatch ? n - done : kBatch;
        for (const UINT message : {UINT{WM_NULL}, kWindowCreated}) {
            const double start = Now();
            for (long i = 0; i < batch; ++i)
                if (!PostMessageW(program, message, reinterpret_cast<WPARAM>(window), 0)) return false;
            if (!probe.Settle(program, 60000)) return false;
            seconds += message == kWindowCreated ? Now() - start : start - Now();
        }
        done += batch;
    }
    return true;
}

// Microseconds per report beyond a bare message's, for the program started on the
// settings as they are (false: failed, with `why` saying what). `withRules`: the rules written must be in force.
bool Measure(long reports, bool withRules, std::string& why, double& us) {
    rig::HostProcess host(kHostExe);
    rig::ProgramProbe probe;
    rig::Program program;
    const HWND window =
        host.ok() ? host.Create(rig::Layout(kMeasuredClass, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 120, 120, 300, 200))
                  : nullptr;
    if (!window || !probe.ok() || !program.Run() || !probe.Attach(program.threadId()) ||
        !probe.Settle(program.window())) {
        why = "set-up failed";
        return false;
    }
    HWND marker = nullptr;
    if (withRules) {
        // The library reports the marker as it appears and the rule makes it translucent;
        // it is made opaque again, for the report that follows the measured ones.
        marker = host.Create(rig::Layout(kMarkerClass, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 160, 160, 300, 200));
        if (!marker || !rig::WaitFor([&] { return rig::LayeredAlpha(marker) == static_cast<int>(kMarkerLevel); })) {
            why = "the rule did not make a new window translucent";
            return false;
        }
        SetWindowLongW(marker, GWL_EXSTYLE, GetWindowLongW(marker, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        if (!rig::WaitFor([&] { return !rig::IsLayered(marker); }) || rig::IsLayered(window)) {
            why = rig::IsLayered(window) ? "a rule matched the measured window" : "the marker stayed translucent";
            return false;
        }
    }

    double seconds = 0;
    if (!Post(probe, program.window(), window, reports, seconds)) {
        why = "the program stopped taking reports";
        return false;
    }
    if (marker) {
        PostMessageW(program.window(), kWindowCreated, reinterpret_cast<WPARAM>(marker), 0);
        if (!rig::WaitFor([&] { return rig::LayeredAlpha(marker) == static_cast<int>(kMarkerLevel); }) ||
            rig::IsLayered(window)) {
            why = rig::IsLayered(window) ? "a rule matched the measured window" : "the rules were not in force";
            return false;
        }
    }
    if (!program.Exit()) {
        why = "the program did not end";
        return false;
    }
    us = 1e6 * seconds / static_cast<double>(reports);
    return true;
}

}  // namespace

int RunRules(long reports, bool timingGoals) {
    if (reports < 1) reports = 1;
    QuietSettings();
    WriteRules();
    std::string why;
    double withRules = 0, none = 0;
    const bool measured = Measure(reports, true, why, withRules);
    if (measured) QuietSettings();
    const bool measuredNone = measured && Measure(reports, false, why, none);
    rig::settings::Erase();
    if (!measuredNone) {
        std::printf("rules: %s (%s)\n", why.c_str(), measured ? "no rules" : "64 rules");
        return 2;
    }
    std::printf("rules: %ld reports each; beyond a bare message, %.1f us per created window with 64 rules (goal "
                "under %.0f us: %s), "
                "%.1f us with none\n",
                reports, withRules, kGoalUs, withRules < kGoalUs ? "met" : "MISSED", none);
    std::fflush(stdout);
    Summary("rules %.1f us per created window, 64 rules", withRules);
    Summary("rules-none %.1f us per created window, no rules", none);
    return !timingGoals || withRules < kGoalUs ? 0 : 1;
}

}  // namespace bench
