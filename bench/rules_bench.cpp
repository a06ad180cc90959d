// The rules per program: what a window that appears costs the running program when it
// has 64 rules, against what it costs with none.
//
// The library posts the program WM_WINDOW_CREATED for every top-level window that
// appears; here the report is posted exactly as the library posts it, for one window,
// again and again (in batches, waiting for the program after each). The 64 rules are
// made so that none matches: 62 for other programs, and two for rig_shell.exe, for a
// class no window has and for a marker's class. Two windows are measured: one of
// rig_target.exe, a program without a rule (what most windows that appear are: the
// program asks whose window it is and knows the program from then on), and one of
// rig_shell.exe, whose program has rules for classes other than the window's (the
// program reads the window's class as well). Without rules the program returns at once.
// The figures are what a report costs beyond a bare message (WM_NULL, posted and taken
// the same way, in batches between the reports' in the same run): the message's own
// dispatch does not count. Before the figures count, the marker window must come up
// translucent from one more report (the rules are in force) and the measured windows
// must have stayed opaque.
//
// Summary: rules <us> us per created window, 64 rules; rules-class <us> us per created
// window of a program with class rules, 64 rules; rules-none <us> us per created window,
// no rules. Goal: under 50 us per created window with 64 rules.
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
constexpr wchar_t kPlainExe[] = L"rig_target.exe";
constexpr wchar_t kRuledExe[] = L"rig_shell.exe";
constexpr wchar_t kMeasuredClass[] = L"RulesBenchWindow";
constexpr wchar_t kMarkerClass[] = L"RulesBenchMarker";

void WriteRule(int index, const std::wstring& program, const std::wstring& cls, DWORD level) {
    const std::wstring section = L"Rules\\" + std::to_wstring(index);
    rig::settings::SetString(L"Program", program, section.c_str());
    rig::settings::SetString(L"Class", cls, section.c_str());
    rig::settings::SetDword(L"Level", level, section.c_str());
    rig::settings::SetDword(L"OnTop", 0, section.c_str());
}

// 62 rules for other programs (names that share the helpers' first letters), then the
// fake shell's for a class no window has and for the marker's class.
void WriteRules() {
    for (int i = 0; i < kRules - 2; ++i) WriteRule(i, L"rig_target_" + std::to_wstring(i) + L".exe", L"", 150);
    WriteRule(kRules - 2, kRuledExe, L"RulesBenchNoSuchClass", 150);
    WriteRule(kRules - 1, kRuledExe, kMarkerClass, kMarkerLevel);
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

struct Figures {
    double plain = 0;  // a window of a program without a rule
    double ruled = 0;  // a window of a program with rules for other classes
};

// Microseconds per report beyond a bare message's, for the program started on the
// settings as they are (false: failed, with `why` saying what). `withRules`: the rules
// written must be in force.
bool Measure(long reports, bool withRules, std::string& why, Figures& us) {
    rig::HostProcess plainHost(kPlainExe);
    rig::HostProcess ruledHost(kRuledExe);
    rig::ProgramProbe probe;
    rig::Program program;
    const auto make = [](rig::HostProcess& host, const wchar_t* cls, int at) {
        return host.ok() ? host.Create(rig::Layout(cls, WS_OVERLAPPEDWINDOW | WS_VISIBLE, at, at, 300, 200))
                         : nullptr;
    };
    const HWND plain = make(plainHost, kMeasuredClass, 120);
    const HWND ruled = make(ruledHost, kMeasuredClass, 140);
    if (!plain || !ruled || !probe.ok() || !program.Run() || !probe.Attach(program.threadId()) ||
        !probe.Settle(program.window())) {
        why = "set-up failed";
        return false;
    }
    const auto anyMatched = [&] { return rig::IsLayered(plain) || rig::IsLayered(ruled); };
    HWND marker = nullptr;
    if (withRules) {
        // The library reports the marker as it appears and the rule makes it translucent;
        // it is made opaque again, for the report that follows the measured ones.
        marker = make(ruledHost, kMarkerClass, 160);
        if (!marker || !rig::WaitFor([&] { return rig::LayeredAlpha(marker) == static_cast<int>(kMarkerLevel); })) {
            why = "the rule did not make a new window translucent";
            return false;
        }
        SetWindowLongW(marker, GWL_EXSTYLE, GetWindowLongW(marker, GWL_EXSTYLE) & ~WS_EX_LAYERED);
        if (!rig::WaitFor([&] { return !rig::IsLayered(marker); }) || anyMatched()) {
            why = anyMatched() ? "a rule matched a measured window" : "the marker stayed translucent";
            return false;
        }
    }

    double plainSeconds = 0, ruledSeconds = 0;
    if (!Post(probe, program.window(), plain, reports, plainSeconds) ||
        !Post(probe, program.window(), ruled, reports, ruledSeconds)) {
        why = "the program stopped taking reports";
        return false;
    }
    if (marker) {
        PostMessageW(program.window(), kWindowCreated, reinterpret_cast<WPARAM>(marker), 0);
        if (!rig::WaitFor([&] { return rig::LayeredAlpha(marker) == static_cast<int>(kMarkerLevel); }) ||
            anyMatched()) {
            why = anyMatched() ? "a rule matched a measured window" : "the rules were not in force";
            return false;
        }
    }
    if (!program.Exit()) {
        why = "the program did not end";
        return false;
    }
    us.plain = 1e6 * plainSeconds / static_cast<double>(reports);
    us.ruled = 1e6 * ruledSeconds / static_cast<double>(reports);
    return true;
}

}  // namespace

int RunRules(long reports, bool timingGoals) {
    if (reports < 1) reports = 1;
    QuietSettings();
    WriteRules();
    std::string why;
    Figures withRules, none;
    const bool measured = Measure(reports, true, why, withRules);
    if (measured) QuietSettings();
    const bool measuredNone = measured && Measure(reports, false, why, none);
    rig::settings::Erase();
    if (!measuredNone) {
        std::printf("rules: %s (%s)\n", why.c_str(), measured ? "no rules" : "64 rules");
        return 2;
    }
    const bool met = withRules.plain < kGoalUs;
    std::printf("rules: %ld reports per window; beyond a bare message, with 64 rules %.1f us per created window "
                "(goal under %.0f us: %s) and %.1f us for one of a program with rules for other classes; with "
                "none %.1f and %.1f us\n",
                reports, withRules.plain, kGoalUs, met ? "met" : "MISSED", withRules.ruled, none.plain, none.ruled);
    std::fflush(stdout);
    Summary("rules %.1f us per created window, 64 rules", withRules.plain);
    Summary("rules-class %.1f us per created window of a program with class rules, 64 rules", withRules.ruled);
    Summary("rules-none %.1f us per created window, no rules", none.plain);
    return !timingGoals || met ? 0 : 1;
}

}  // namespace bench
