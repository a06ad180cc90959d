// The registry fuzz: the program started again and again on a randomised "Status" and
// "ClassFilter" — wrong value types, sizes that do not fit the type, huge strings,
// every time-format code and invalid ones, numbers out of range, names outside any code
// page, more filter entries than the program reads. Each start must come up, show the
// clock on a window of another process when the clock is on, end by its exit command
// with exit code 0, and write back values that the next start accepts: of the type the
// program reads, and unchanged by a start that is given them (checked every tenth
// start, as a start of its own).
//
// Summary: registry-fuzz <N> starts <C> crashes <H> hangs.
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "rig.h"
#include "tray_recorder.h"

namespace bench {

namespace {

constexpr DWORD kReadyMs = 10000;
constexpr DWORD kExitMs = 10000;
constexpr DWORD kClockMs = 3000;
// Set-up failures (the helper started again) before the run gives up.
constexpr int kMaxSetUpFailures = 5;

// The values the program keeps in "Status": the numbers and the texts it reads.
constexpr const wchar_t* kNumbers[] = {
    L"EnableSClickTP", L"EnableMClickTP", L"EnableWheelTP", L"ClaroviaValue", L"WheelStep", L"EnableMoveTP",
    L"MoveTPValue", L"EnableMoveTPLimit", L"MoveTPW", L"MoveTPH", L"EnableSizingTP", L"SizingTPValue",
    L"EnableTaskbarTP", L"EnableStartMenuTP", L"TaskbarTPValue", L"EnableShadeTP", L"ShadeRight", L"ShadeArea",
    L"DefaultHeight", L"EnableStartButtonTP", L"EnableOverlapTP", L"EnableTopmostTP", L"NoTaskTrayIcon",
    L"HideFlag", L"HideMenu", L"Startup", L"ShowClock", L"ShowClockClassName", L"DeskTopIconBkMode",
    L"DeskTopIconTextColorMode", L"DeskTopIconTextColor", L"ColumnWidth"};
constexpr const wchar_t* kTexts[] = {L"StartButtonText", L"TimeFormat"};
// Read but never written back.
constexpr wchar_t kReadOnly[] = L"ShowClockClassName";

using Random = std::mt19937;

int Pick(Random& random, int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
bool Chance(Random& random, int percent) { return Pick(random, 100) < percent; }

DWORD FuzzNumber(Random& random) {
    static constexpr DWORD kEdges[] = {0,          1,          2,          3,          4,    5,   100, 101,
                                       190,        255,        256,        500,        1000, 0xFFFFFFFF,
                                       0xFFFFFF00, 0x7FFFFFFF, 0x80000000, 0x80000001, 0x00FFFFFF};
    switch (Pick(random, 4)) {
    case 0: return kEdges[Pick(random, static_cast<int>(std::size(kEdges)))];
    case 1: return static_cast<DWORD>(Pick(random, 300));
    case 2: return static_cast<DWORD>(-Pick(random, 300));
    default: return static_cast<DWORD>(random());
    }
}

std::wstring FuzzText(Random& random) {
    static constexpr const wchar_t* kPieces[] = {
        // Every conversion the runtime knows, with and without '#'.
        L"%a", L"%A", L"%b", L"%B", L"%c", L"%d", L"%H", L"%I", L"%j", L"%m", L"%M", L"%p", L"%S", L"%U", L"%w",
        L"%W", L"%x", L"%X", L"%y", L"%Y", L"%z", L"%Z", L"%%", L"%#c", L"%#x", L"%#d", L"%#H",
        // Ones it does not know, and broken ones.
        L"%E", L"%O", L"%Q", L"%k", L"%e", L"%n", L"%t", L"%C", L"%D", L"%F", L"%g", L"%G", L"%h", L"%r", L"%R",
        L"%T", L"%u", L"%V", L"%#", L"%Ec", L"%Oy", L"%-d", L"%5d", L"%##",
        // Text: plain, Japanese, outside any code page, a lone surrogate.
        L"time ", L" / ", L"時刻 ", L"クラロビア", L"\u0100\u0394\u0416", L"\U0001F600", L"\xD800", L"\xDC00x",
        L"\u202E", L"\t", L"\r\n"};
    std::wstring text;
    switch (Pick(random, 6)) {
    case 0:  // empty
        break;
    case 1: {  // huge: 64 KB of conversions or of text
        const std::wstring unit = Chance(random, 50) ? L"%c" : L"x";
        while (text.size() < 32768) text += unit;
        break;
    }
    default: {
        const int n = 1 + Pick(random, 12);
        for (int i = 0; i < n; ++i) text += kPieces[Pick(random, static_cast<int>(std::size(kPieces)))];
        if (Chance(random, 10)) text += L"%";  // a lone '%' at the end
        break;
    }
    }
    return text;
}

// Writes `name` in `key` as something the program may not expect, or as it expects.
void WriteFuzzed(HKEY key, const wchar_t* name, bool number, Random& random) {
    const std::wstring text = FuzzText(random);
    const DWORD value = FuzzNumber(random);
    const auto bytes = [](const auto* data) { return reinterpret_cast<const BYTE*>(data); };
    switch (Pick(random, 10)) {
    case 0:  // missing
        return;
    case 1:  // a string where a number belongs, a number where a string belongs
        if (number)
            RegSetValueExW(key, name, 0, REG_SZ, bytes(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        else
            RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), sizeof value);
        return;
    case 2: {  // binary, multi-string, 64-bit number
        const ULONGLONG wide = (static_cast<ULONGLONG>(random()) << 32) | random();
        static const wchar_t kMulti[] = L"a\0b\0";
        switch (Pick(random, 3)) {
        case 0: RegSetValueExW(key, name, 0, REG_BINARY, bytes(&wide), 1 + Pick(random, 8)); break;
        case 1: RegSetValueExW(key, name, 0, REG_MULTI_SZ, bytes(kMulti), sizeof kMulti); break;
        default: RegSetValueExW(key, name, 0, REG_QWORD, bytes(&wide), sizeof wide); break;
        }
        return;
    }
    case 3:  // the right type with a size that does not fit it
        if (number)
            RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), static_cast<DWORD>(Pick(random, 4)));
        else  // no terminating zero, an odd number of bytes
            RegSetValueExW(key, name, 0, Chance(random, 50) ? REG_SZ : REG_EXPAND_SZ, bytes(text.c_str()),
                           static_cast<DWORD>(text.size() * sizeof(wchar_t) + Pick(random, 2)));
        return;
    default:  // the right type
        if (number)
            RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), sizeof value);
        else
            RegSetValueExW(key, name, 0, REG_SZ, bytes(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        return;
    }
}

HKEY CreateSection(const wchar_t* section) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(rig::settings::kKey) + L"\\" + section;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

// A fresh randomised key. The clock is on in half the starts; nothing that would last
// beyond the run (the startup shortcut) is asked for.
bool Randomise(Random& random, const std::wstring& windowClass) {
    rig::settings::Erase();
    const HKEY status = CreateSection(rig::settings::kStatus);
    const HKEY filter = CreateSection(rig::settings::kClassFilter);
    if (!status || !filter) {
        if (status) RegCloseKey(status);
        if (filter) RegCloseKey(filter);
        return false;
    }
    for (const wchar_t* name : kNumbers) WriteFuzzed(status, name, true, random);
    for (const wchar_t* name : kTexts) WriteFuzzed(status, name, false, random);
    const DWORD clock = Chance(random, 50) ? 1 : 0, off = 0;
    RegSetValueExW(status, L"ShowClock", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&clock), sizeof clock);
    RegSetValueExW(status, L"Startup", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    // Values the program does not know.
    if (Chance(random, 20)) WriteFuzzed(status, L"Unknown", Chance(random, 50), random);

    // Up to 130 filter entries, some under names the program does not read, some the
    // class of the window the clock is shown on.
    const int entries = Chance(random, 30) ? 0 : Pick(random, 131);
    for (int i = 0; i < entries; ++i) {
        const int slot = Chance(random, 90) ? Pick(random, 131) : -Pick(random, 5);
        std::wstring name = std::to_wstring(slot);
        if (Chance(random, 5)) name = L"0" + name;
        if (Chance(random, 10)) {
            const std::wstring cls = windowClass;
            RegSetValueExW(filter, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(cls.c_str()),
                           static_cast<DWORD>((cls.size() + 1) * sizeof(wchar_t)));
        } else {
            WriteFuzzed(filter, name.c_str(), false, random);
        }
    }
    RegCloseKey(status);
    RegCloseKey(filter);
    return true;
}

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const Value&) const = default;
};

std::map<std::wstring, Value> ReadStatus() {
    std::map<std::wstring, Value> values;
    HKEY key = nullptr;
    const std::wstring path = std::wstring(rig::settings::kKey) + L"\\" + rig::settings::kStatus;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    std::vector<BYTE> data(1 << 20);
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256, type = 0, size = static_cast<DWORD>(data.size());
        if (RegEnumValueW(key, i, name, &length, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
        values[std::wstring(name, length)] = Value{type, std::vector<BYTE>(data.begin(), data.begin() + size)};
    }
    RegCloseKey(key);
    return values;
}

// The values written back that the program would not read as written: a number not
// stored as REG_DWORD of 4 bytes, a text not as a terminated REG_SZ.
int WrongTypes(const std::map<std::wstring, Value>& values) {
    int wrong = 0;
    for (const wchar_t* name : kNumbers) {
        if (std::wstring(name) == kReadOnly) continue;
        const auto it = values.find(name);
        if (it == values.end() || it->second.type != REG_DWORD || it->second.data.size() != sizeof(DWORD)) ++wrong;
    }
    for (const wchar_t* name : kTexts) {
        const auto it = values.find(name);
        if (it == values.end() || it->second.type != REG_SZ || it->second.data.size() < sizeof(wchar_t) ||
            it->second.data.size() % sizeof(wchar_t) != 0 || it->second.data.end()[-1] != 0 ||
            it->second.data.end()[-2] != 0)
            ++wrong;
    }
    return wrong;
}

enum class Outcome { Ran, Crashed, Hung, SetUpFailed };

const char* Describe(Outcome outcome) {
    switch (outcome) {
    case Outcome::Ran: return "ran";
    case Outcome::Crashed: return "CRASHED";
    case Outcome::Hung: return "HUNG";
    default: return "set-up failed";
    }
}

// One start on the key as it is: up, the clock on the window if it is on, the exit
// command, the end.
// `why` says what failed when the set-up did.
Outcome StartOnce(HWND window, bool clock, DWORD& exitCode, std::string& why) {
    if (!rig::Activate(window)) {
        why = IsWindow(window) ? "the clock's window could not be made active" : "the clock's window is gone";
        return Outcome::SetUpFailed;
    }
    Child program;
    rig::ProgramProbe probe;
    if (!probe.ok()) {
        why = "the probe could not be loaded";
        return Outcome::SetUpFailed;
    }
    if (!program.Start(rig::kProgramExe)) {
        why = "Clarovia.exe could not be started (error " + std::to_string(GetLastError()) + ")";
        return Outcome::SetUpFailed;
    }
    HWND hidden = nullptr;
    const bool up = rig::WaitFor(
        [&] {
            if (!program.running()) return true;
            if (!hidden) hidden = ProgramWindow(program.pid());
            return hidden && WaitForInputIdle(program.process(), 0) == 0;
        },
        kReadyMs);
    if (!program.running()) {
        exitCode = program.exitCode();
        return Outcome::Crashed;
    }
    if (!up) {
        program.Kill();
        return Outcome::Hung;
    }
    if (clock && probe.Attach(program.threadId())) {
        probe.CountPosted(WM_TIMER);
        rig::WaitFor([&] { return probe.counted() > 0 || !program.running(); }, kClockMs);
        probe.Detach();
    }
    if (!program.running()) {
        exitCode = program.exitCode();
        return Outcome::Crashed;
    }
    PostMessageW(hidden, WM_COMMAND, rig::kCmdExit, 0);
    if (!program.WaitExit(kExitMs)) {
        program.Kill();
        return Outcome::Hung;
    }
    exitCode = program.exitCode();
    return exitCode == 0 ? Outcome::Ran : Outcome::Crashed;
}

// Under Wine a crash would otherwise wait in the debugger's dialog, and count as a hang.
class NoCrashDialog {
public:
    NoCrashDialog() {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key_, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof previous_;
        had_ = RegQueryValueExW(key_, L"ShowCrashDialog", nullptr, nullptr, reinterpret_cast<BYTE*>(&previous_),
                                &size) == ERROR_SUCCESS;
        const DWORD off = 0;
        RegSetValueExW(key_, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&off), sizeof off);
    }
    ~NoCrashDialog() {
        if (!key_) return;
        if (had_)
            RegSetValueExW(key_, L"ShowCrashDialog", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof previous_);
        else
            RegDeleteValueW(key_, L"ShowCrashDialog");
        RegCloseKey(key_);
    }
    NoCrashDialog(const NoCrashDialog&) = delete;
    NoCrashDialog& operator=(const NoCrashDialog&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool had_ = false;
};

}  // namespace

int RunRegistryFuzz(int starts, unsigned seed) {
    NoCrashDialog noDialog;
    rig::TrayRecorder tray;
    std::unique_ptr<rig::HostProcess> host;
    rig::WindowSpec layout = rig::Layout(L"FuzzClockWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 150, 400, 300);
    layout.title = L"Fuzzed clock";
    HWND window = nullptr;
    // The clock's window in a helper of its own, made (again).
    const auto makeWindow = [&] {
        host = std::make_unique<rig::HostProcess>();
        window = host->ok() ? host->Create(layout) : nullptr;
        return window != nullptr;
    };
    if (!tray.ok() || !makeWindow()) {
        std::printf("registry-fuzz: set-up failed: %s\n",
                    !tray.ok() ? "the stand-in for the notification area could not be made"
                               : "the clock's window could not be made");
        return 2;
    }
    Random random(seed);
    int done = 0, crashes = 0, hangs = 0, wrongTypes = 0, unstable = 0, setUpFailures = 0;
    const double start = Now();
    while (done < starts) {
        const unsigned caseSeed = static_cast<unsigned>(random());
        Random fuzz(caseSeed);
        if (!Randomise(fuzz, layout.className)) {
            std::printf("registry-fuzz: set-up failed: the program's key could not be written\n");
            ++setUpFailures;
            break;
        }
        const bool clock = rig::settings::Dword(L"ShowClock").value_or(0) != 0;
        DWORD code = 0;
        std::string why;
        Outcome outcome = StartOnce(window, clock, code, why);
        ++done;
        std::map<std::wstring, Value> written = ReadStatus();
        int wrong = outcome == Outcome::Ran ? WrongTypes(written) : 0;
        bool changed = false;
        // Every tenth start: a start on what was written back must leave it as it was.
        if (outcome == Outcome::Ran && done % 10 == 0 && done < starts) {
            outcome = StartOnce(window, clock, code, why);
            ++done;
            if (outcome == Outcome::Ran) changed = ReadStatus() != written;
        }
        if (outcome == Outcome::SetUpFailed) {
            // Not the program's doing: the start is not counted, the helper starts again.
            --done;
            std::printf("registry-fuzz: start %d: set-up failed: %s; the helper starts again\n", done + 1,
                        why.c_str());
            std::fflush(stdout);
            if (++setUpFailures > kMaxSetUpFailures || !makeWindow()) {
                std::printf("registry-fuzz: set-up failed: the helper could not be started again\n");
                break;
            }
            continue;
        }
        crashes += outcome == Outcome::Crashed;
        hangs += outcome == Outcome::Hung;
        wrongTypes += wrong;
        unstable += changed;
        if (outcome != Outcome::Ran || wrong || changed)
            std::printf("registry-fuzz: start %d (case seed %u): %s%s, exit code 0x%lx, %d value(s) written back "
                        "wrongly%s\n",
                        done, caseSeed, Describe(outcome), clock ? " with the clock" : "", code, wrong,
                        changed ? ", values changed by the next start" : "");
    }
    // Leave nothing behind: a clean start on an empty key removes whatever the fuzzed
    // starts set up (a translucent taskbar is given back at their exits already).
    rig::settings::Erase();
    rig::settings::SetDword(L"EnableTaskbarTP", 0);
    DWORD code = 0;
    std::string why;
    StartOnce(window, false, code, why);
    rig::settings::Erase();

    std::printf("registry-fuzz: %d starts in %.1f s, %d crash(es), %d hang(s), %d value(s) written back of a wrong "
                "type, %d restart(s) that changed what was written, %d set-up failure(s) (helper started again)\n",
                done, Now() - start, crashes, hangs, wrongTypes, unstable, setUpFailures);
    std::fflush(stdout);
    Summary("registry-fuzz %d starts %d crashes %d hangs", done, crashes, hangs);
    if (done < starts) return 2;
    return crashes == 0 && hangs == 0 && wrongTypes == 0 && unstable == 0 ? 0 : 1;
}

}  // namespace bench
