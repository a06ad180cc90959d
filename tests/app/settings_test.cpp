// The settings: read from HKCU\Software\kesto's tool\Clarovia at start, pushed into the
// library's shared record, written back only at exit and at the end of a session.
#include <algorithm>
#include <utility>
#include <vector>

#include "fixed_values.h"
#include "program_fixture.h"
#include "settings_table.h"

namespace {

using rig::settings::Dword;
using rig::settings::String;
using rig::settings::Type;

// The stored values as they must stay: names, types and defaults.
struct Fixed {
    const wchar_t* name;
    DWORD type;  // REG_NONE: read, never written
    DWORD number;
    const wchar_t* text;
};
std::vector<Fixed> FixedStatus() {
    const DWORD FIXED_HALF_SCREEN = static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN) / 2);
#define FIXED_NUMBER(name, value) Fixed{L## #name, REG_DWORD, static_cast<DWORD>(value), nullptr},
#define FIXED_TEXT(name, value) Fixed{L## #name, REG_SZ, 0, L"" value},
#define FIXED_READ_ONLY(name) Fixed{L## #name, REG_NONE, 0, nullptr},
    return {FIXED_STATUS(FIXED_NUMBER, FIXED_TEXT, FIXED_READ_ONLY)};
#undef FIXED_NUMBER
#undef FIXED_TEXT
#undef FIXED_READ_ONLY
}

// Every setting the library takes (the product's table): its registry value and the
// shared record's field it lands in.
struct Pushed {
    const wchar_t* name;
    int32_t SharedSettings::*field;
};
std::vector<Pushed> PushedSettings() {
#define PUSHED_ROW(name, initial, low, high, setter, ordinal, field, ...) Pushed{L## #name, &SharedSettings::field},
#define PUSHED_TASKBAR(name, initial, field, ...) Pushed{L## #name, &SharedSettings::field},
    return {CLAROVIA_SETTINGS(PUSHED_ROW, PUSHED_ROW, PUSHED_TASKBAR, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                              CLAROVIA_NO_ROW, CLAROVIA_NO_ROW)};
#undef PUSHED_ROW
#undef PUSHED_TASKBAR
}

const Fixed* FindFixed(const std::vector<Fixed>& fixed, const std::wstring& name) {
    for (const Fixed& f : fixed)
        if (name == f.name) return &f;
    return nullptr;
}

class Settings : public ProgramTest {};

TEST_F(Settings, FirstStartRunsOnDefaultsAndWritesThemAllAtExit) {
    rig::Program& p = Start();
    ASSERT_TRUE(p.running());

    EXPECT_EQ(WindowFromWord(shared().ProgramWindow), p.window());
    EXPECT_EQ(shared().Locked, 0);
    const std::vector<Fixed> fixed = FixedStatus();
    for (const Pushed& s : PushedSettings()) {
        const Fixed* f = FindFixed(fixed, s.name);
        ASSERT_NE(f, nullptr) << "a setting that is not stored: " << s.name;
        EXPECT_EQ(static_cast<DWORD>(shared().*s.field), f->number) << s.name;
    }

    // Nothing is written while the program runs.
    EXPECT_FALSE(rig::settings::SectionExists(rig::settings::kStatus));

    Exit();

    std::vector<std::wstring> expectedNames;
    for (const Fixed& f : fixed) {
        EXPECT_EQ(Type(f.name), f.type) << f.name;
        if (f.type == REG_NONE) continue;
        expectedNames.push_back(f.name);
        if (f.type == REG_DWORD)
            EXPECT_EQ(Dword(f.name), std::optional<DWORD>(f.number)) << f.name;
        else
            EXPECT_EQ(String(f.name), std::optional<std::wstring>(f.text)) << f.name;
    }
    // Exactly these values; the class filter is only ever read.
    std::vector<std::wstring> names = rig::settings::ValueNames();
    std::sort(names.begin(), names.end());
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(names, expectedNames);
    EXPECT_FALSE(rig::settings::SectionExists(rig::settings::kClassFilter));
}

TEST_F(Settings, StoredValuesArePushedAsTheyAreAndWrittenBackUnchanged) {
    // A distinct number for every pushed setting shows which field each one lands in;
    // they are out of range for most and go in all the same.
    std::vector<std::pair<std::wstring, DWORD>> stored;
    DWORD next = 11;
    for (const Pushed& s : PushedSettings()) stored.emplace_back(s.name, next++);
    // The program's own: no startup shortcut, the tray icon, no clock.
    for (const auto& [name, value] : std::initializer_list<std::pair<const wchar_t*, DWORD>>{
             {L"DefaultHeight", 333}, {L"NoTaskTrayIcon", 0}, {L"HideFlag", 1}, {L"HideMenu", 1},
             {L"Startup", 0}, {L"ShowClock", 0}, {L"ShowClockClassName", 1}, {L"DeskTopIconBkMode", 1},
             {L"DeskTopIconTextColorMode", 1}, {L"DeskTopIconTextColor", 0x00123456}, {L"ColumnWidth", 77}})
        stored.emplace_back(name, value);
    for (const Fixed& f : FixedStatus()) {
        if (f.type == REG_SZ) continue;
        EXPECT_TRUE(std::any_of(stored.begin(), stored.end(), [&](const auto& s) { return s.first == f.name; }))
            << "no value stored for " << f.name;
    }
    for (const auto& [name, value] : stored) rig::settings::SetDword(name.c_str(), value);
    rig::settings::SetString(L"StartButtonText", L"Go");
    rig::settings::SetString(L"TimeFormat", L"%H:%M");

    Start();
    EXPECT_EQ(shared().Locked, 0);
    for (const Pushed& s : PushedSettings()) {
        const auto it = std::find_if(stored.begin(), stored.end(), [&](const auto& v) { return v.first == s.name; });
        EXPECT_EQ(static_cast<DWORD>(shared().*s.field), it->second) << s.name;
    }
    Exit();

    for (const auto& [name, value] : stored)
        EXPECT_EQ(Dword(name.c_str()), std::optional<DWORD>(value)) << name;
    EXPECT_EQ(String(L"StartButtonText"), std::optional<std::wstring>(L"Go"));
    EXPECT_EQ(String(L"TimeFormat"), std::optional<std::wstring>(L"%H:%M"));
}

TEST_F(Settings, EndOfSessionWritesTheSettingsWhateverItsFlag) {
    rig::settings::SetDword(L"ClaroviaValue", 120);
    rig::settings::SetString(L"Program", L"notepad.exe", L"Rules\\0");
    rig::settings::SetDword(L"OnTop", 1, L"Rules\\0");
    rig::Program& p = Start();
    for (const WPARAM ending : {WPARAM{FALSE}, WPARAM{TRUE}}) {
        // The key goes away behind the program's back; the end of the session brings it back.
        rig::settings::Erase();
        ASSERT_FALSE(rig::settings::SectionExists(rig::settings::kStatus));
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendMessageTimeoutW(p.window(), WM_ENDSESSION, ending, 0, SMTO_NORMAL, 5000, &result))
            << "wParam " << ending;
        EXPECT_EQ(Dword(L"ClaroviaValue"), std::optional<DWORD>(120)) << "wParam " << ending;
        EXPECT_EQ(Dword(L"EnableSClickTP"), std::optional<DWORD>(1)) << "wParam " << ending;
        EXPECT_EQ(String(L"TimeFormat"), std::optional<std::wstring>(L"%y/%m/%d %H:%M:%S")) << "wParam " << ending;
        EXPECT_EQ(String(L"Program", L"Rules\\0"), std::optional<std::wstring>(L"notepad.exe")) << "wParam " << ending;
        EXPECT_EQ(Dword(L"OnTop", L"Rules\\0"), std::optional<DWORD>(1)) << "wParam " << ending;
    }
}

}  // namespace
