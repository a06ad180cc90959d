// The settings: read from HKCU\Software\kesto's tool\Clarovia at start, pushed into the
// library's shared record, written back only at exit and at the end of a session.
#include <algorithm>
#include <utility>
#include <vector>

#include "program_fixture.h"

namespace {

using rig::settings::Dword;
using rig::settings::String;
using rig::settings::Type;

struct Named {
    const wchar_t* name;
    DWORD value;
};

// Every number the program stores, with its default.
std::vector<Named> DefaultNumbers() {
    return {{L"EnableSClickTP", 1},
            {L"EnableMClickTP", 1},
            {L"EnableWheelTP", 1},
            {L"ClaroviaValue", 190},
            {L"WheelStep", 5},
            {L"EnableMoveTP", 1},
            {L"MoveTPValue", 190},
            {L"EnableMoveTPLimit", 0},
            {L"MoveTPW", 500},
            {L"MoveTPH", 500},
            {L"EnableSizingTP", 1},
            {L"SizingTPValue", 190},
            {L"EnableTaskbarTP", 1},
            {L"EnableStartMenuTP", 0},
            {L"TaskbarTPValue", 190},
            {L"EnableShadeTP", 1},
            {L"ShadeRight", 1},
            {L"ShadeArea", 1},
            {L"DefaultHeight", static_cast<DWORD>(GetSystemMetrics(SM_CYSCREEN) / 2)},
            {L"EnableStartButtonTP", 0},
            {L"EnableOverlapTP", 0},
            {L"EnableTopmostTP", 0},
            {L"NoTaskTrayIcon", 0},
            {L"HideFlag", 0},
            {L"HideMenu", 0},
            {L"Startup", 0},
            {L"ShowClock", 0},
            {L"DeskTopIconBkMode", 0},
            {L"DeskTopIconTextColorMode", 0},
            {L"DeskTopIconTextColor", 0x00FFFFFF},
            {L"ColumnWidth", 0}};
}

// The shared record's settings fields by name, as the test sees them now.
std::vector<std::pair<const char*, int32_t>> RecordFields(volatile SharedSettings& s) {
    return {{"SClickTP", s.SClickTP},         {"MClickTP", s.MClickTP},
            {"ClaroviaValue", s.ClaroviaValue}, {"WheelTP", s.WheelTP},
            {"WheelTPValue", s.WheelTPValue}, {"MoveTP", s.MoveTP},
            {"MoveTPValue", s.MoveTPValue},   {"MoveTPLimit", s.MoveTPLimit},
            {"MoveTPW", s.MoveTPW},           {"MoveTPH", s.MoveTPH},
            {"SizingTP", s.SizingTP},         {"SizingTPValue", s.SizingTPValue},
            {"TaskbarTPValue", s.TaskbarTPValue}, {"TaskbarTP", s.TaskbarTP},
            {"StartMenuTP", s.StartMenuTP},   {"ShadeTP", s.ShadeTP},
            {"ShadeRight", s.ShadeRight},     {"ShadeArea", s.ShadeArea},
            {"StartButtonTextTP", s.StartButtonTextTP}, {"OverlapTP", s.OverlapTP},
            {"TopmostTP", s.TopmostTP},       {"Locked", s.Locked}};
}

void ExpectRecord(volatile SharedSettings& s, const std::vector<std::pair<const char*, int32_t>>& expected) {
    const auto actual = RecordFields(s);
    for (const auto& [name, value] : expected) {
        const auto it = std::find_if(actual.begin(), actual.end(),
                                     [&](const auto& field) { return std::string(field.first) == name; });
        ASSERT_NE(it, actual.end()) << name;
        EXPECT_EQ(it->second, value) << "shared record field " << name;
    }
}

class Settings : public ProgramTest {};

TEST_F(Settings, FirstStartRunsOnDefaultsAndWritesThemAllAtExit) {
    rig::Program& p = Start();
    ASSERT_TRUE(p.running());

    EXPECT_EQ(WindowFromWord(shared().ProgramWindow), p.window());
    ExpectRecord(shared(), {{"SClickTP", 1},       {"MClickTP", 1},      {"ClaroviaValue", 190},
                            {"WheelTP", 1},        {"WheelTPValue", 5},  {"MoveTP", 1},
                            {"MoveTPValue", 190},  {"MoveTPLimit", 0},   {"MoveTPW", 500},
                            {"MoveTPH", 500},      {"SizingTP", 1},      {"SizingTPValue", 190},
                            {"TaskbarTPValue", 190}, {"TaskbarTP", 1},   {"StartMenuTP", 0},
                            {"ShadeTP", 1},        {"ShadeRight", 1},    {"ShadeArea", 1},
                            {"StartButtonTextTP", 0}, {"OverlapTP", 0},  {"TopmostTP", 0},
                            {"Locked", 0}});

    // Nothing is written while the program runs.
    EXPECT_FALSE(rig::settings::SectionExists(rig::settings::kStatus));

    Exit();

    std::vector<std::wstring> expectedNames;
    for (const Named& n : DefaultNumbers()) {
        expectedNames.push_back(n.name);
        EXPECT_EQ(Type(n.name), static_cast<DWORD>(REG_DWORD)) << n.name;
        EXPECT_EQ(Dword(n.name), std::optional<DWORD>(n.value)) << n.name;
    }
    expectedNames.push_back(L"StartButtonText");
    expectedNames.push_back(L"TimeFormat");
    EXPECT_EQ(Type(L"StartButtonText"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(String(L"StartButtonText"), std::optional<std::wstring>(L""));
    EXPECT_EQ(Type(L"TimeFormat"), static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(String(L"TimeFormat"), std::optional<std::wstring>(L"%y/%m/%d %H:%M:%S"));

    // Exactly these values: "ShowClockClassName" and the class filter are only ever read.
    std::vector<std::wstring> names = rig::settings::ValueNames();
    std::sort(names.begin(), names.end());
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(names, expectedNames);
    EXPECT_EQ(Type(L"ShowClockClassName"), static_cast<DWORD>(REG_NONE));
    EXPECT_FALSE(rig::settings::SectionExists(rig::settings::kClassFilter));
}

TEST_F(Settings, StoredValuesArePushedAsTheyAreAndWrittenBackUnchanged) {
    // A distinct number for every pushed setting shows which field each one lands in;
    // 300 and 5 are out of range and go in all the same.
    const std::vector<Named> stored = {{L"EnableSClickTP", 11},    {L"EnableMClickTP", 12},
                                       {L"EnableWheelTP", 13},     {L"ClaroviaValue", 300},
                                       {L"WheelStep", 15},         {L"EnableMoveTP", 16},
                                       {L"MoveTPValue", 17},       {L"EnableMoveTPLimit", 18},
                                       {L"MoveTPW", 19},           {L"MoveTPH", 20},
                                       {L"EnableSizingTP", 21},    {L"SizingTPValue", 22},
                                       {L"EnableTaskbarTP", 23},   {L"EnableStartMenuTP", 24},
                                       {L"TaskbarTPValue", 25},    {L"EnableShadeTP", 26},
                                       {L"ShadeRight", 27},        {L"ShadeArea", 5},
                                       {L"DefaultHeight", 333},    {L"EnableStartButtonTP", 29},
                                       {L"EnableOverlapTP", 30},   {L"EnableTopmostTP", 31},
                                       {L"NoTaskTrayIcon", 0},     {L"HideFlag", 1},
                                       {L"HideMenu", 1},           {L"Startup", 0},
                                       {L"ShowClock", 0},          {L"ShowClockClassName", 1},
                                       {L"DeskTopIconBkMode", 1},  {L"DeskTopIconTextColorMode", 1},
                                       {L"DeskTopIconTextColor", 0x00123456}, {L"ColumnWidth", 77}};
    for (const Named& n : stored) rig::settings::SetDword(n.name, n.value);
    rig::settings::SetString(L"StartButtonText", L"Go");
    rig::settings::SetString(L"TimeFormat", L"%H:%M");

    Start();
    ExpectRecord(shared(), {{"SClickTP", 11},       {"MClickTP", 12},        {"WheelTP", 13},
                            {"ClaroviaValue", 300}, {"WheelTPValue", 15},    {"MoveTP", 16},
                            {"MoveTPValue", 17},    {"MoveTPLimit", 18},     {"MoveTPW", 19},
                            {"MoveTPH", 20},        {"SizingTP", 21},        {"SizingTPValue", 22},
                            {"TaskbarTP", 23},      {"StartMenuTP", 24},     {"TaskbarTPValue", 25},
                            {"ShadeTP", 26},        {"ShadeRight", 27},      {"ShadeArea", 5},
                            {"StartButtonTextTP", 29}, {"OverlapTP", 30},    {"TopmostTP", 31},
                            {"Locked", 0}});
    Exit();

    for (const Named& n : stored) EXPECT_EQ(Dword(n.name), std::optional<DWORD>(n.value)) << n.name;
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
