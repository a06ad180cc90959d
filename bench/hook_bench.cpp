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
//
// This file reads the command line, makes the window class of the program and gives
// the verdict; the benchmark, the fuzz host and the supervisor have a file each (see
// hook_bench.h).
#include <windows.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hook_bench.h"
#include "vitrel_api.h"

// The library's entry point: binds this process's layered-window functions as it
// does in every hooked process.
extern "C" BOOL WINAPI VitrelEntry(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace hookbench {

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

int64_t g_reports = 0;

namespace {

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_SHADE_DBLCLK && message <= WM_WINDOW_CREATED) {
        ++g_reports;
        return 0;
    }
    if (message == kPingMessage) return kPingAnswer;
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

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

HWND MakeWindow(DWORD exStyle, DWORD style, int x, int y, int w, int h, HWND parent, const wchar_t* title) {
    return CreateWindowExW(exStyle, kWindowClass, title, style, x, y, w, h, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace hookbench

namespace {

using namespace hookbench;

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

// The summary lines of the 32-bit build say so: ./bench.sh prints both builds' lines.
constexpr const char* kWidthTag = sizeof(void*) == 8 ? "" : "-i686";

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
        Say("fuzz%s %" PRId64 " events %d crashes\n", kWidthTag, v.events, v.crashes);
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
    for (int h = 0; h < kHookCount; ++h)
        Say("ratio%s %s %.2f\n", kWidthTag, kHookNames[h], ratios[static_cast<size_t>(h)]);
    Say("fuzz%s %" PRId64 " events %d crashes\n", kWidthTag, v.events, v.crashes);
    if (o.fuzz && !v.ok()) return 1;
    return goalMet ? 0 : 3;
}
