// The program's logic that touches no window, called directly: the rules per program as
// values and in a registry key made for the test under HKCU (removed after), and the
// crash journal's records as text.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include "decimal.h"
#include "journal_records.h"
#include "rules_store.h"

namespace {

using app::ProgramRule;
using app::ProgramRules;

TEST(ProgramRules, AUsableRuleNamesAFileShorterThan260AndDoesSomethingInRange) {
    const std::wstring n259(259, L'n'), n260(260, L'n');
    const std::pair<ProgramRule, bool> rows[] = {
        {{L"a.exe", L"", 10, 0}, true},   {{L"a.exe", L"", 9, 0}, false},      {{L"a.exe", L"", 255, 1}, true},
        {{L"a.exe", L"", 256, 0}, false}, {{L"a.exe", L"", -100, 1}, false},   {{L"a.exe", L"", 0, 1}, true},
        {{L"a.exe", L"", 0, 0}, false},   {{L"a.exe", L"", 100, 2}, false},    {{L"", L"Edit", 100, 0}, false},
        {{n259, n259, 100, 0}, true},     {{n260, L"", 100, 0}, false},        {{L"a.exe", n260, 100, 0}, false},
        {{L"b/a.exe", L"", 100, 0}, false}, {{L"C:\\a.exe", L"", 100, 0}, false}};
    for (const auto& [rule, usable] : rows)
        EXPECT_EQ(app::IsUsableRule(rule), usable)
            << rule.Program.size() << " " << rule.Class.size() << " " << rule.Level << " " << rule.OnTop;
}

TEST(ProgramRules, APutRuleTakesThePlaceOfTheRuleForTheSameWindowsAndANewOneNeedsRoom) {
    ProgramRules rules = {{L"a.exe", L"", 100, 0}, {L"b.exe", L"", 100, 0}, {L"c.exe", L"X", 0, 1}};
    // The same program in another case: in place of the first.
    EXPECT_EQ(app::PutRule(rules, {L"A.EXE", L"", 50, 0}), 0u);
    EXPECT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules[0].Level, 50);
    // The third edited into the second's program: it takes the second's place and goes.
    EXPECT_EQ(app::PutRule(rules, {L"b.exe", L"", 70, 1}, 2), 1u);
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[1], (ProgramRule{L"b.exe", L"", 70, 1}));
    // Edited in place, and a rule that does nothing is refused.
    EXPECT_EQ(app::PutRule(rules, {L"d.exe", L"", 90, 0}, 0), 0u);
    EXPECT_EQ(app::PutRule(rules, {L"e.exe", L"", 0, 0}), app::kNoRule);
    // A full list takes a new rule only in place of one for the same windows.
    while (rules.size() < app::kMaxProgramRules)
        ASSERT_NE(app::PutRule(rules, {L"p" + std::to_wstring(rules.size()) + L".exe", L"", 100, 0}), app::kNoRule);
    EXPECT_FALSE(app::CanPutRule(rules, {L"new.exe", L"", 100, 0}));
    EXPECT_EQ(app::PutRule(rules, {L"new.exe", L"", 100, 0}), app::kNoRule);
    EXPECT_TRUE(app::CanPutRule(rules, {L"D.exe", L"", 30, 0}));
    EXPECT_EQ(app::PutRule(rules, {L"D.exe", L"", 30, 0}), 0u);
    EXPECT_EQ(rules.size(), app::kMaxProgramRules);
}

class RulesStore : public testing::Test {
protected:
    void SetUp() override { profile_.Open(L"Clarovia model tests", fw::Decimal(GetCurrentProcessId()).c_str()); }
    void TearDown() override { SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Clarovia model tests"); }
    // Value `name` of entry Rules\<entry> as given, of any type and size.
    void Put(const std::wstring& entry, const wchar_t* name, DWORD type, const void* data, size_t size) const {
        const std::wstring key = profile_.root() + L"\\Rules\\" + entry;
        ASSERT_EQ(SHSetValueW(HKEY_CURRENT_USER, key.c_str(), name, type, data, static_cast<DWORD>(size)), 0);
    }
    void Put(const std::wstring& entry, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) const {
        Put(entry, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    void Put(const std::wstring& entry, const wchar_t* name, DWORD value) const {
        Put(entry, name, REG_DWORD, &value, sizeof value);
    }
    void PutRule(const std::wstring& entry, const std::wstring& program, const std::wstring& cls, DWORD level) const {
        Put(entry, L"Program", program);
        Put(entry, L"Class", cls);
        Put(entry, L"Level", level);
    }
    bool Exists(const wchar_t* entry) const {
        return profile_.SectionExists((std::wstring(L"Rules\\") + entry).c_str());
    }
    fw::Profile profile_;
};

TEST_F(RulesStore, EntriesAreReadInTheirNumbersOrderAndWhatIsNoUsableRuleIsSkipped) {
    const std::wstring n259(259, L'n');
    const WORD half = 100;
    const DWORD level = 100;
    const std::pair<const wchar_t*, std::wstring> entries[] = {
        {L"10", L"ten.exe"}, {L"0", L"a.exe"},  {L"2", L"short.exe"}, {L"3", L"binary.exe"}, {L"4", L"class.exe"},
        {L"5", n259},        {L"6", n259 + L"n"}, {L"7", L"A.EXE"},   {L"8", L"a.exe"},      {L"014", L"zero.exe"}};
    for (const auto& [entry, program] : entries) PutRule(entry, program, L"", 100);
    Put(L"1", L"Program", L"b.exe", REG_EXPAND_SZ);  // no class, no level: every class, on top
    Put(L"1", L"OnTop", DWORD{1});
    Put(L"2", L"Level", REG_DWORD, &half, sizeof half);  // a DWORD of two bytes
    Put(L"3", L"Level", REG_BINARY, &level, sizeof level);
    Put(L"4", L"Class", DWORD{0});
    Put(L"8", L"Class", L"Edit");  // another class of the same program
    PutRule(L"9", L"a.exe", L"EDIT", 100);  // a class is spelt exactly
    PutRule(L"11", L"minus.exe", L"", 0xFFFFFFFF);  // a level of -1
    EXPECT_EQ(app::LoadProgramRules(profile_), (ProgramRules{{L"a.exe", L"", 100, 0}, {L"b.exe", L"", 0, 1},
                                                             {n259, L"", 100, 0}, {L"a.exe", L"Edit", 100, 0},
                                                             {L"a.exe", L"EDIT", 100, 0}, {L"ten.exe", L"", 100, 0}}));
}

TEST_F(RulesStore, AWriteNumbersUpToSixtyFourUsableRulesAndRemovesTheNumberedEntriesBeyond) {
    ProgramRules rules;
    for (int i = 0; i < 70; ++i) rules.push_back({L"p" + fw::Decimal(i) + L".exe", L"", 100, 0});
    rules[1].Level = 0;  // does nothing: not written, and leaves no gap
    PutRule(L"80\\inner", L"old.exe", L"", 100);
    PutRule(L"note", L"kept.exe", L"", 100);
    app::SaveProgramRules(profile_, rules);
    rules.erase(rules.begin() + 1);
    rules.resize(app::kMaxProgramRules);
    EXPECT_EQ(app::LoadProgramRules(profile_), rules);
    EXPECT_FALSE(Exists(L"64") || Exists(L"80"));
    app::SaveProgramRules(profile_, {{L"only.exe", L"Edit", 0, 1}});
    EXPECT_EQ(app::LoadProgramRules(profile_), (ProgramRules{{L"only.exe", L"Edit", 0, 1}}));
    EXPECT_FALSE(Exists(L"1"));
    EXPECT_TRUE(Exists(L"note"));
}

// A record reads back as written, its handle by the low 32 bits; a line whose numbers do
// not read whole is no record.
TEST(JournalRecords, ARecordReadsBackAsWrittenWithItsHandleByItsLow32Bits) {
    const HWND high = reinterpret_cast<HWND>(intptr_t{-0x7FFFEDCC});  // bit 31 set, extended
    const std::wstring text = app::journal::Format({high, 0xFFFFFFFF, INT_MIN, L"Afx Frame 1"}, true);
    EXPECT_EQ(text, L"-2147478988 4294967295 -2147483648 Afx Frame 1");
    const app::journal::Entry read = app::journal::Parse(text, true).value_or(app::journal::Entry{});
    EXPECT_EQ(read.window, high);
    EXPECT_EQ(read.process, 0xFFFFFFFFu);
    EXPECT_EQ(read.number, INT_MIN);
    EXPECT_EQ(read.className, L"Afx Frame 1");
    const HWND low = reinterpret_cast<HWND>(intptr_t{0x12345});
    EXPECT_EQ(app::journal::Format({low, 42, 7, L"Edit"}, false), L"74565 42 Edit");
    EXPECT_EQ(app::journal::HandleOf(0x180001234LL), high);
    EXPECT_EQ(app::journal::ReadableCount(-1), 0);
    EXPECT_EQ(app::journal::ReadableCount(INT_MAX), app::journal::kMaxEntries);
}

TEST(JournalRecords, ALineWhoseNumbersDoNotReadWholeIsNoRecord) {
    for (const wchar_t* text : {L"", L"123 456", L"123 456 Edit", L"- 456 240 Edit", L"123 -1 240 Edit",
                                L"123 4294967296 240 Edit", L"123 456 2147483648 Edit", L"123 456 -2147483649 Edit",
                                L"123 456 99999999999999999999 Edit", L"99999999999999999999 456 240 Edit",
                                L"x123 456 240 Edit"})
        EXPECT_FALSE(app::journal::Parse(text, true)) << testing::PrintToString(std::wstring(text));
    EXPECT_FALSE(app::journal::Parse(L"123 Edit", false));
}

}  // namespace
