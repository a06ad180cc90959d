// The fuzz supervisor of vitrel_bench: starts fuzz hosts as child processes, pings
// them while they feed their events, and tells of the event and the settings that a
// crash or a hang came from, with the command line that replays it.
#include <windows.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "hook_bench.h"
#include "rig.h"
#include "shared_settings.h"

namespace hookbench {
namespace {

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

}  // namespace

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

}  // namespace hookbench
