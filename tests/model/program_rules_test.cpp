// The rules per program as values and in the registry: which rules are usable, which
// two are for the same windows, and what a key of entries written by hand reads as and
// what a write leaves there. The key is one made for the test under HKCU, removed after.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>

#include "decimal.h"
#include "program_rules.h"
#include "rules_store.h"

namespace {

using app::ProgramRule;
using app::ProgramRules;

TEST(ProgramRules, AUsableRuleNamesAFileShorterThan260AndDoesSomethingInRange) {
    const std::wstring n259(259, L'n'), n260(260, L'n');
    struct Row {
        ProgramRule rule;
        bool usable;
    };
    const Row rows[] = {
        {{L"a.exe", L"", 10, 0}, true},    {{L"a.exe", L"", 9, 0}, false},    {{L"a.exe", L"", 255, 0}, true},
        {{L"a.exe", L"", 256, 0}, false},  {{L"a.exe", L"", -100, 1}, false}, {{L"a.exe", L"", 0, 1}, true},
        {{L"a.exe", L"", 0, 0}, false},    {{L"a.exe", L"", 100, 2}, false},  {{L"a.exe", L"", 0, -1}, false},
        {{L"", L"Cls", 100, 0}, false},    {{n259, L"", 100, 0}, true},       {{n260, L"", 100, 0}, false},
        {{L"a.exe", n259, 0, 1}, true},    {{L"a.exe", n260, 0, 1}, false},   {{L"C:\\a.exe", L"", 100, 0}, false},
        {{L"bin/a.exe", L"", 100, 0}, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(app::IsUsableRule(r.rule), r.usable) << r.rule.Program.size() << " " << r.rule.Class.size() << " "
                                                        << r.rule.Level << " " << r.rule.OnTop;
}

TEST(ProgramRules, TheProgramsCaseDoesNotCountTheClassesDoes) {
    EXPECT_TRUE(app::SameTarget({L"Notepad.EXE", L"Edit", 100, 0}, {L"notepad.exe", L"Edit", 0, 1}));
    EXPECT_FALSE(app::SameTarget({L"notepad.exe", L"Edit", 100, 0}, {L"notepad.exe", L"EDIT", 100, 0}));
    EXPECT_FALSE(app::SameTarget({L"notepad.exe", L"", 100, 0}, {L"notepad.exe", L"Edit", 100, 0}));
    EXPECT_FALSE(app::SameTarget({L"notepad.exe", L"", 100, 0}, {L"notepad.ex", L"", 100, 0}));
}

class RulesStore : public testing::Test {
protected:
    static constexpr wchar_t kCompany[] = L"Clarovia model tests";
    void SetUp() override {
        app_ = L"run " + fw::Decimal(GetCurrentProcessId());
        profile_.Open(kCompany, app_.c_str());
    }
    void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, (L"Software\\" + std::wstring(kCompany)).c_str()); }

    // Value `name` of entry Rules\<entry>, of any type and size.
    void Put(const std::wstring& entry, const wchar_t* name, DWORD type, const void* data, DWORD size) const {
        HKEY key = nullptr;
        const std::wstring path = profile_.root() + L"\\Rules\\" + entry;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void PutText(const std::wstring& entry, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) const {
        Put(entry, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void PutDword(const std::wstring& entry, const wchar_t* name, DWORD value) const {
        Put(entry, name, REG_DWORD, &value, sizeof value);
    }
    void PutRule(int entry, const std::wstring& program, const std::wstring& cls, DWORD level, DWORD onTop) const {
        const std::wstring e = fw::Decimal(entry);
        PutText(e, L"Program", program);
        PutText(e, L"Class", cls);
        PutDword(e, L"Level", level);
        PutDword(e, L"OnTop", onTop);
    }
    bool EntryExists(const std::wstring& entry) const {
        return profile_.SectionExists((L"Rules\\" + entry).c_str());
    }

    std::wstring app_;
    fw::Profile profile_;
};

TEST_F(RulesStore, EntriesAreReadInTheirNumbersOrderAndWhatIsNotAUsableRuleIsSkipped) {
    const std::wstring n259(259, L'n');
    PutRule(10, L"ten.exe", L"", 100, 0);  // after 9, though the registry lists it before 2
    PutRule(0, L"a.exe", L"", 100, 0);
    PutText(L"1", L"Program", L"b.exe", REG_EXPAND_SZ);  // no class, no level: every class, on top
    PutDword(L"1", L"OnTop", 1);
    PutRule(2, L"short.exe", L"", 100, 0);
    const WORD half = 100;
    Put(L"2", L"Level", REG_DWORD, &half, sizeof half);  // a DWORD of two bytes
    PutRule(3, L"binary.exe", L"", 100, 0);
    const DWORD level = 100;
    Put(L"3", L"Level", REG_BINARY, &level, sizeof level);
    PutRule(4, L"class.exe", L"", 100, 0);
    PutDword(L"4", L"Class", 0);
    PutRule(5, n259, L"", 10, 0);
    PutRule(6, n259 + L"n", L"", 100, 0);
    PutRule(7, L"A.EXE", L"", 50, 0);  // entry 0 in other capitals
    PutRule(8, L"a.exe", L"Cls", 255, 1);
    PutRule(9, L"a.exe", L"cls", 100, 0);
    PutRule(11, L"low.exe", L"", 9, 0);
    PutRule(12, L"high.exe", L"", 256, 0);
    PutRule(13, L"minus.exe", L"", 0xFFFFFFFF, 0);
    PutRule(14, L"top.exe", L"", 0, 0xFFFFFFFF);
    PutText(L"014", L"Program", L"zero.exe");  // not a number as the program writes it
    PutDword(L"014", L"OnTop", 1);
    PutText(L"x", L"Program", L"x.exe");
    PutDword(L"x", L"OnTop", 1);

    const ProgramRules expected = {{L"a.exe", L"", 100, 0},  {L"b.exe", L"", 0, 1},       {n259, L"", 10, 0},
                                   {L"a.exe", L"Cls", 255, 1}, {L"a.exe", L"cls", 100, 0}, {L"ten.exe", L"", 100, 0}};
    EXPECT_EQ(app::LoadProgramRules(profile_), expected);
}

TEST_F(RulesStore, AWriteNumbersUpToSixtyFourUsableRulesAndRemovesTheEntriesBeyond) {
    ProgramRules rules;
    for (int i = 0; i < 70; ++i) rules.push_back({L"p" + fw::Decimal(i) + L".exe", L"", 100, 0});
    rules[1].Level = 0;  // does nothing: not written, and leaves no gap
    PutRule(80, L"old.exe", L"", 100, 0);
    PutText(L"80\\inner", L"Note", L"inside");
    PutText(L"note", L"Program", L"kept.exe");
    app::SaveProgramRules(profile_, rules);

    const ProgramRules read = app::LoadProgramRules(profile_);
    ASSERT_EQ(read.size(), app::kMaxProgramRules);
    EXPECT_EQ(read[0].Program, L"p0.exe");
    EXPECT_EQ(read[1].Program, L"p2.exe");
    EXPECT_EQ(read[63].Program, L"p64.exe");
    EXPECT_FALSE(EntryExists(L"64"));
    EXPECT_FALSE(EntryExists(L"80"));
    EXPECT_TRUE(EntryExists(L"note"));

    app::SaveProgramRules(profile_, {{L"only.exe", L"Edit", 0, 1}});
    EXPECT_EQ(app::LoadProgramRules(profile_), (ProgramRules{{L"only.exe", L"Edit", 0, 1}}));
    EXPECT_FALSE(EntryExists(L"1"));
    EXPECT_TRUE(EntryExists(L"note"));
}

}  // namespace
