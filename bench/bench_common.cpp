#include "bench_common.h"

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "program.h"
#include "rig.h"

namespace bench {

namespace {
std::vector<std::string>& SummaryLines() {
    static std::vector<std::string> lines;
    return lines;
}

// Private bytes as Windows counts them: the committed memory of the process that is
// its own (not mapped from files and not shared), added up region by region. Wine
// reports no private usage for another process, so it is counted here.
SIZE_T CommittedPrivate(HANDLE process) {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION info;
    const char* address = nullptr;
    while (VirtualQueryEx(process, address, &info, sizeof info) == sizeof info) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        const char* next = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
        if (next <= address) break;
        address = next;
    }
    return total;
}

// The handle count from the system's process list (Wine answers no other query).
DWORD HandlesFromProcessList(DWORD pid) {
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    constexpr ULONG kSystemProcessInformation = 5;
    if (query(kSystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) return 0;
    // SYSTEM_PROCESS_INFORMATION: NextEntryOffset, ..., UniqueProcessId, ..., HandleCount.
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid) return entry->HandleCount;
        if (!entry->NextEntryOffset) return 0;
        offset += entry->NextEntryOffset;
    }
}

double FileTimeMs(const FILETIME& t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 10000.0;
}
}  // namespace

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

ProcessCost CostOf(HANDLE process) {
    ProcessCost cost;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        cost.privateBytes = memory.PrivateUsage;
        cost.workingSet = memory.WorkingSetSize;
    }
    if (!cost.privateBytes) cost.privateBytes = CommittedPrivate(process);
    if (!GetProcessHandleCount(process, &cost.handles) || !cost.handles)
        cost.handles = HandlesFromProcessList(GetProcessId(process));
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(process, &created, &ended, &kernel, &user)) cost.cpuMs = FileTimeMs(kernel) + FileTimeMs(user);
    return cost;
}

Child::~Child() {
    Kill();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool Child::Start(const wchar_t* exe, bool suspended) {
    if (pi_.hProcess) return false;
    const std::wstring folder = rig::ProgramDirectory();
    std::wstring command = L"\"" + folder + exe + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0,
                          nullptr, folder.c_str(), &si, &pi_) != FALSE;
}

void Child::Resume() {
    if (pi_.hThread) ResumeThread(pi_.hThread);
}

bool Child::running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Child::WaitExit(DWORD timeoutMs) {
    return !pi_.hProcess || rig::WaitFor([&] { return !running(); }, timeoutMs);
}

DWORD Child::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void Child::Kill() {
    if (running()) {
        TerminateProcess(pi_.hProcess, 1);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
}

HWND ProgramWindow(DWORD pid) {
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, L"#32770", rig::kHiddenWindowCaption)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == pid) return found;
    }
    return nullptr;
}

bool EndProgram(Child& program, DWORD timeoutMs) {
    if (!program.running()) return true;
    if (const HWND window = ProgramWindow(program.pid())) PostMessageW(window, WM_COMMAND, rig::kCmdExit, 0);
    return program.WaitExit(timeoutMs);
}

void Summary(const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    SummaryLines().emplace_back(line);
}

void PrintSummary() {
    for (const std::string& line : SummaryLines()) std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void QuietSettings() {
    rig::settings::Erase();
    rig::settings::SetDword(L"EnableTaskbarTP", 0);
}

}  // namespace bench
