// The registry fuzz: the program started again and again on a randomised "Status",
// "ClassFilter" and "Rules" — wrong value types, sizes that do not fit the type, huge
// strings, every time-format code and invalid ones, numbers out of range, names outside
// any code page, more filter entries than the program reads; rule entries under names
// that are no number, numbers with leading zeros or beyond any rule, more of them than
// the program keeps, values missing, levels out of range, program and class names at
// and beyond the limit, the same program in another case, keys inside entries. Each
// start must come up, show the clock on a window of another process when the clock is
// on, end by its exit command with exit code 0, and write back values that the next
// start accepts: of the type the program reads, rules that are usable and numbered 0, 1,
// 2, ... without a gap, and all of it unchanged by a start that is given them (checked
// every tenth start, as a start of its own).
//
// Summary: registry-fuzz <N> starts <C> crashes <H> hangs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench_common.h"
#include "program.h"
#include "program_probe.h"
#include "program_rules.h"
#include "rig.h"
#include "settings_table.h"
#include "tray_recorder.h"

namespace bench {

namespace {

constexpr DWORD kReadyMs = 10000;
constexpr DWORD kExitMs = 10000;
constexpr DWORD kClockMs = 3000;
// Set-up failures (the helper started again) before the run gives up.
constexpr int kMaxSetUpFailures = 5;

// The values the program keeps in "Status" (its settings table): the numbers and the
// texts it reads.
#define FUZZ_NUMBER(name, ...) L## #name,
constexpr const wchar_t* kNumbers[] = {CLAROVIA_SETTINGS(FUZZ_NUMBER, FUZZ_NUMBER, FUZZ_NUMBER, FUZZ_NUMBER,
                                                         FUZZ_NUMBER, CLAROVIA_NO_ROW, FUZZ_NUMBER)};
constexpr const wchar_t* kTexts[] = {CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                                                       CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, FUZZ_NUMBER,
                                                       CLAROVIA_NO_ROW)};
// Read but never written back.
constexpr const wchar_t* kReadOnly[] = {CLAROVIA_SETTINGS(CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                                                          CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                                                          FUZZ_NUMBER)};
#undef FUZZ_NUMBER
constexpr wchar_t kRules[] = L"Rules";
// What the program keeps of the rules: at most so many, names shorter than the limit.
constexpr size_t kMaxRules = app::kMaxProgramRules;
constexpr size_t kNameLimit = app::kRuleNameLimit;

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

// A name for a rule entry: mostly a number a rule may have, else one with a leading
// zero, a sign, a space, digits of another script, one beyond any rule or none at all.
std::wstring FuzzEntryName(Random& random) {
    static constexpr const wchar_t* kOdd[] = {L"00",   L"-1",   L"+1", L" 1",  L"1 ",   L"1a",         L"x",
                                              L"0x10", L"9999", L"10000", L"65", L"4294967296",
                                              L"99999999999999999999", L"\u0661", L"\uFF11", L""};
    if (Chance(random, 85)) return std::to_wstring(Pick(random, 110));
    if (Chance(random, 30)) return L"0" + std::to_wstring(Pick(random, 70));
    const std::wstring name = kOdd[Pick(random, static_cast<int>(std::size(kOdd)))];
    return name.empty() ? L"rule" : name;
}

// A program's file name: one of many, one of a few in any case (the same program again),
// names of 259 and 260 characters and beyond, a path, nothing.
std::wstring FuzzFileName(Random& random) {
    static constexpr const wchar_t* kFew[] = {L"notepad.exe", L"rig_target.exe", L"app.exe", L"\u30AF\u30E9.exe"};
    const auto sized = [](size_t length) { return std::wstring(length - 4, L'p') + L".exe"; };
    switch (Pick(random, 12)) {
    case 0: return sized(259);
    case 1: return sized(260);
    case 2: return sized(40000);
    case 3: return Chance(random, 50) ? L"C:\\tools\\app.exe" : L"tools/app.exe";
    case 4: return {};
    case 5:
    case 6: {
        std::wstring name = kFew[Pick(random, static_cast<int>(std::size(kFew)))];
        for (wchar_t& c : name)
            if (Chance(random, 50)) c = static_cast<wchar_t>(towupper(c));
        return name;
    }
    default: return L"app" + std::to_wstring(Pick(random, 300)) + L".exe";
    }
}

// A class name: every class, one of a few (the clock's window's among them), names of
// 259 and 260 characters and beyond.
std::wstring FuzzClassName(Random& random, const std::wstring& windowClass) {
    switch (Pick(random, 10)) {
    case 0: return std::wstring(259, L'c');
    case 1: return std::wstring(260, L'c');
    case 2: return std::wstring(40000, L'c');
    case 3: return windowClass;
    case 4: return L"Class" + std::to_wstring(Pick(random, 4));
    default: return {};
    }
}

// A rule's text value: as the program writes it, unterminated, as REG_EXPAND_SZ, of a
// wrong type, missing.
void WriteRuleText(HKEY key, const wchar_t* name, const std::wstring& text, Random& random) {
    const auto bytes = [](const auto* data) { return reinterpret_cast<const BYTE*>(data); };
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    switch (Pick(random, 20)) {
    case 0: return;
    case 1: {
        const DWORD value = FuzzNumber(random);
        RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), sizeof value);
        return;
    }
    case 2: RegSetValueExW(key, name, 0, REG_BINARY, bytes(text.c_str()), size); return;
    case 3: RegSetValueExW(key, name, 0, REG_MULTI_SZ, bytes(L"a\0b\0"), 5 * sizeof(wchar_t)); return;
    case 4: RegSetValueExW(key, name, 0, REG_SZ, bytes(text.c_str()), size - sizeof(wchar_t) + Pick(random, 2)); return;
    case 5: RegSetValueExW(key, name, 0, REG_EXPAND_SZ, bytes(text.c_str()), size); return;
    default: RegSetValueExW(key, name, 0, REG_SZ, bytes(text.c_str()), size); return;
    }
}

// A rule's number: in range, out of range (negative, 0 to 9, 256, huge), of 2 or 8
// bytes, of a wrong type, missing.
void WriteRuleNumber(HKEY key, const wchar_t* name, bool level, Random& random) {
    static constexpr DWORD kEdges[] = {0, 1, 2, 9, 10, 11, 128, 254, 255, 256, 0xFFFFFFFF, 0xFFFFFFF6, 0x7FFFFFFF,
                                       0x80000000, 0x1000A, 0x100FF, 0x10001};
    const auto bytes = [](const auto* data) { return reinterpret_cast<const BYTE*>(data); };
    const ULONGLONG value = Chance(random, 60)
                                ? static_cast<ULONGLONG>(level ? (Chance(random, 20) ? 0 : 10 + Pick(random, 246))
                                                               : Pick(random, 2))
                                : kEdges[Pick(random, static_cast<int>(std::size(kEdges)))];
    switch (Pick(random, 20)) {
    case 0: return;
    case 1: RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), 2); return;
    case 2: RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), 8); return;
    case 3: RegSetValueExW(key, name, 0, REG_QWORD, bytes(&value), 8); return;
    case 4: RegSetValueExW(key, name, 0, REG_BINARY, bytes(&value), 4); return;
    case 5: RegSetValueExW(key, name, 0, REG_DWORD_BIG_ENDIAN, bytes(&value), 4); return;
    case 6: RegSetValueExW(key, name, 0, REG_SZ, bytes(L"200"), 4 * sizeof(wchar_t)); return;
    default: RegSetValueExW(key, name, 0, REG_DWORD, bytes(&value), 4); return;
    }
}

// Up to about a hundred rule entries, numbered in turn or under names of every kind, half
// of them written as the program writes them and the others with every value fuzzed; or,
// in a quarter of the cases, more usable rules numbered in turn than the program keeps.
void RandomiseRules(Random& random, const std::wstring& windowClass) {
    if (Chance(random, 20)) return;  // no key
    const HKEY rules = CreateSection(kRules);
    if (!rules) return;
    const bool full = Chance(random, 25);
    const int entries = full ? 66 + Pick(random, 40) : Chance(random, 10) ? 0 : Pick(random, 101);
    const bool inTurn = full || Chance(random, 30);
    const int good = full ? 95 : 50;
    for (int i = 0; i < entries; ++i) {
        const std::wstring name = inTurn && Chance(random, 95) ? std::to_wstring(i) : FuzzEntryName(random);
        HKEY entry = nullptr;
        if (RegCreateKeyExW(rules, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry, nullptr) !=
            ERROR_SUCCESS)
            continue;
        if (Chance(random, good)) {
            const std::wstring program = Chance(random, 90) ? L"app" + std::to_wstring(Pick(random, 300)) + L".exe"
                                                            : FuzzFileName(random);
            const std::wstring cls = Chance(random, 70) ? std::wstring() : FuzzClassName(random, windowClass);
            const DWORD level = 10 + static_cast<DWORD>(Pick(random, 246)), onTop = Pick(random, 2);
            RegSetValueExW(entry, L"Program", 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                           static_cast<DWORD>((program.size() + 1) * sizeof(wchar_t)));
            RegSetValueExW(entry, L"Class", 0, REG_SZ, reinterpret_cast<const BYTE*>(cls.c_str()),
                           static_cast<DWORD>((cls.size() + 1) * sizeof(wchar_t)));
            RegSetValueExW(entry, L"Level", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&level), sizeof level);
            RegSetValueExW(entry, L"OnTop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&onTop), sizeof onTop);
        } else {
            WriteRuleText(entry, L"Program", FuzzFileName(random), random);
            WriteRuleText(entry, L"Class", FuzzClassName(random, windowClass), random);
            WriteRuleNumber(entry, L"Level", true, random);
            WriteRuleNumber(entry, L"OnTop", false, random);
        }
        // A value the program does not know, a key of the entry's own.
        if (Chance(random, 5)) WriteFuzzed(entry, L"Unknown", Chance(random, 50), random);
        if (Chance(random, 5)) {
            HKEY inner = nullptr;
            if (RegCreateKeyExW(entry, L"Inner", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &inner, nullptr) ==
                ERROR_SUCCESS)
                RegCloseKey(inner);
        }
        RegCloseKey(entry);
    }
    RegCloseKey(rules);
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
    RandomiseRules(random, windowClass);
    return true;
}

struct Value {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const Value&) const = default;
};

using Values = std::map<std::wstring, Value>;

// The values of the program's `section` ("Status", "Rules\\0", ...).
Values ReadValues(const std::wstring& section) {
    Values values;
    HKEY key = nullptr;
    const std::wstring path = std::wstring(rig::settings::kKey) + L"\\" + section;
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

// What the program wrote: "Status", and every entry under "Rules" by its name.
struct Written {
    Values status;
    std::map<std::wstring, Values> rules;
    bool operator==(const Written&) const = default;
};

Written ReadWritten() {
    Written written;
    written.status = ReadValues(rig::settings::kStatus);
    for (const std::wstring& name : rig::settings::SectionNames(kRules))
        written.rules[name] = ReadValues(std::wstring(kRules) + L"\\" + name);
    return written;
}

// The number an entry name is to the program: digits only, no leading zero, at most 9999
// (other names are not its own and stay as they are); -1 for any other name.
int EntryNumber(const std::wstring& name) {
    if (name.empty() || name.size() > 4 || (name.size() > 1 && name[0] == L'0')) return -1;
    int number = 0;
    for (const wchar_t c : name) {
        if (c < L'0' || c > L'9') return -1;
        number = number * 10 + (c - L'0');
    }
    return number;
}

// A REG_SZ with its terminating zero and no other, as the program writes one; else null.
const std::wstring* TextOf(const Values& values, const wchar_t* name, std::wstring& text) {
    const auto it = values.find(name);
    if (it == values.end() || it->second.type != REG_SZ) return nullptr;
    const std::vector<BYTE>& data = it->second.data;
    if (data.size() < sizeof(wchar_t) || data.size() % sizeof(wchar_t) != 0) return nullptr;
    text.assign(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    if (text.back() != L'\0') return nullptr;
    text.pop_back();
    return text.find(L'\0') == std::wstring::npos ? &text : nullptr;
}

// A REG_DWORD of 4 bytes; else -1.
long long NumberOf(const Values& values, const wchar_t* name) {
    const auto it = values.find(name);
    if (it == values.end() || it->second.type != REG_DWORD || it->second.data.size() != sizeof(DWORD)) return -1;
    DWORD value = 0;
    std::memcpy(&value, it->second.data.data(), sizeof value);
    return value;
}

// What the program left under "Rules" that a start would not take as written: a numbered
// entry that is not a usable rule (Program 1-259 characters, no folder; Class under 260;
// Level 0 or 10-255; OnTop 0 or 1; not both 0), one for the same program (in any case)
// and class as an earlier one, and, counted once, numbers other than 0, 1, 2, ... in turn
// or more than 64 of them.
int WrongRules(const std::map<std::wstring, Values>& rules) {
    int wrong = 0;
    std::map<int, const Values*> numbered;
    for (const auto& [name, values] : rules)
        if (const int number = EntryNumber(name); number >= 0) numbered[number] = &values;
    std::vector<std::wstring> seen;
    int expected = 0;
    bool inTurn = numbered.size() <= kMaxRules;
    for (const auto& [number, values] : numbered) {
        inTurn = inTurn && number == expected++;
        std::wstring program, cls;
        const long long level = NumberOf(*values, L"Level"), onTop = NumberOf(*values, L"OnTop");
        const bool usable = TextOf(*values, L"Program", program) && !program.empty() && program.size() < kNameLimit &&
                            program.find_first_of(L"\\/") == std::wstring::npos &&
                            TextOf(*values, L"Class", cls) && cls.size() < kNameLimit &&
                            (level == 0 || (level >= 10 && level <= 255)) && (onTop == 0 || onTop == 1) &&
                            (level != 0 || onTop != 0);
        if (!usable) {
            ++wrong;
            continue;
        }
        if (!program.empty()) CharUpperBuffW(program.data(), static_cast<DWORD>(program.size()));
        const std::wstring target = program + L'\0' + cls;
        if (std::find(seen.begin(), seen.end(), target) != seen.end()) ++wrong;
        seen.push_back(target);
    }
    return wrong + (inTurn ? 0 : 1);
}

// The values written back that the program would not read as written: a number not
// stored as REG_DWORD of 4 bytes, a text not as a terminated REG_SZ.
int WrongTypes(const Values& values) {
    int wrong = 0;
    for (const wchar_t* name : kNumbers) {
        if (std::find_if(std::begin(kReadOnly), std::end(kReadOnly),
                         [&](const wchar_t* r) { return std::wstring(r) == name; }) != std::end(kReadOnly))
            continue;
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
    int done = 0, crashes = 0, hangs = 0, wrongTypes = 0, wrongRules = 0, unstable = 0, setUpFailures = 0;
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
        const Written written = ReadWritten();
        const int wrong = outcome == Outcome::Ran ? WrongTypes(written.status) : 0;
        const int wrongRule = outcome == Outcome::Ran ? WrongRules(written.rules) : 0;
        bool changed = false;
        // Every tenth start: a start on what was written back must leave it as it was.
        if (outcome == Outcome::Ran && done % 10 == 0 && done < starts) {
            outcome = StartOnce(window, clock, code, why);
            ++done;
            if (outcome == Outcome::Ran) changed = ReadWritten() != written;
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
        wrongRules += wrongRule;
        unstable += changed;
        if (outcome != Outcome::Ran || wrong || wrongRule || changed)
            std::printf("registry-fuzz: start %d (case seed %u): %s%s, exit code 0x%lx, %d value(s) written back "
                        "wrongly, %d rule fault(s)%s\n",
                        done, caseSeed, Describe(outcome), clock ? " with the clock" : "", code, wrong, wrongRule,
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
                "type, %d rule fault(s) written back (an unusable or repeated rule, numbers not 0-63 in turn), "
                "%d restart(s) that changed what was written, %d set-up failure(s) (helper started again)\n",
                done, Now() - start, crashes, hangs, wrongTypes, wrongRules, unstable, setUpFailures);
    std::fflush(stdout);
    Summary("registry-fuzz %d starts %d crashes %d hangs", done, crashes, hangs);
    if (done < starts) return 2;
    return crashes == 0 && hangs == 0 && wrongTypes == 0 && wrongRules == 0 && unstable == 0 ? 0 : 1;
}

}  // namespace bench
