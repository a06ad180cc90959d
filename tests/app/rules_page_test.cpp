// The rules per program page and its rule dialog with real clicks, keys and typing: a
// rule made from an open window of another program, typed names (a path, a name too
// long, another case of a name already there), changing, deleting, the limit of 64
// rules; and what Apply, OK and Cancel make of them in the registry.
#include <windows.h>

#include <string>
#include <vector>

#include "notepad.h"
#include "resource.h"
#include "sheet_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

constexpr int kRulesPage = 7;
constexpr wchar_t kRuleDialogCaption[] = L"プログラム別の設定";

class RulesPage : public SheetTest {
protected:
    Rows Rules() const { return sheet.PageWindow().Rows(IDC_RULES_LIST); }

    // Clicks button `id` of the page (Add, Change), or double-clicks row `row` of the
    // list, and waits for the rule dialog.
    rig::DialogWindow OpenRuleDialog(int id, int row = -1) {
        if (row >= 0)
            EXPECT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, row, true));
        else
            sheet.Click(id);
        HWND found = nullptr;
        EXPECT_TRUE(rig::WaitFor([&] {
            for (const HWND w : program->Windows(L"#32770"))
                if (rig::WindowText(w) == kRuleDialogCaption) found = w;
            return found != nullptr;
        })) << "no rule dialog";
        return rig::DialogWindow(found);
    }
    // Closes the rule dialog with OK or Cancel and waits until the page has taken it.
    void CloseRuleDialog(const rig::DialogWindow& dialog, int button) {
        ASSERT_TRUE(dialog.Enabled(button));
        dialog.Click(button);
        ASSERT_TRUE(rig::WaitFor([&] { return !IsWindow(dialog.hwnd()); })) << "the rule dialog stays";
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // Moves the dialog's level to `level` with keys, once a click has given it the focus.
    void KeysToRuleLevel(const rig::DialogWindow& dialog, int level) {
        dialog.Click(IDC_RULE_LEVEL);
        ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == dialog.Item(IDC_RULE_LEVEL); }));
        ASSERT_TRUE(dialog.KeysToLevel(IDC_RULE_LEVEL, level));
    }

    // Registry key Rules\<index> as its four values, or nothing when it is missing.
    static std::vector<std::wstring> Stored(int index) {
        const std::wstring key = L"Rules\\" + std::to_wstring(index);
        if (!rig::settings::SectionExists(key.c_str())) return {};
        return {rig::settings::String(L"Program", key.c_str()).value_or(L"?"),
                rig::settings::String(L"Class", key.c_str()).value_or(L"?"),
                std::to_wstring(rig::settings::Dword(L"Level", key.c_str()).value_or(999)),
                std::to_wstring(rig::settings::Dword(L"OnTop", key.c_str()).value_or(999))};
    }
    static void Store(int index, const std::wstring& program, const std::wstring& cls, DWORD level, DWORD onTop) {
        const std::wstring key = L"Rules\\" + std::to_wstring(index);
        rig::settings::SetString(L"Program", program, key.c_str());
        rig::settings::SetString(L"Class", cls, key.c_str());
        rig::settings::SetDword(L"Level", level, key.c_str());
        rig::settings::SetDword(L"OnTop", onTop, key.c_str());
    }

    bool ButtonsEnabled(bool add, bool change, bool remove) const {
        return sheet.Enabled(IDC_RULES_ADD) == add && sheet.Enabled(IDC_RULES_CHANGE) == change &&
               sheet.Enabled(IDC_RULES_DELETE) == remove;
    }
};

TEST_F(RulesPage, RulesFromAnOpenWindowAndTypedNamesAreChangedDeletedAndStoredAtApplyAndOk) {
    StartProbed();
    Make(L"Rule target", 480, 300, 400, 260);
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(kRulesPage));
    EXPECT_EQ(rig::WindowText(sheet.Page()), L"プログラム別");
    EXPECT_TRUE(Rules().empty());
    EXPECT_TRUE(ButtonsEnabled(true, false, false));
    EXPECT_FALSE(sheet.ApplyEnabled());

    // Added from the open windows: the helper's window is listed (the program's own
    // are not); choosing it gives its program and class.
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        ASSERT_TRUE(dialog.hwnd());
        EXPECT_FALSE(dialog.Enabled(IDOK));
        EXPECT_FALSE(dialog.Enabled(IDC_RULE_CLASS));
        EXPECT_FALSE(dialog.Enabled(IDC_RULE_LEVEL));
        const Rows windows = dialog.Rows(IDC_RULE_WINDOWS);
        int row = -1;
        for (size_t i = 0; i < windows.size(); ++i) {
            ASSERT_EQ(windows[i].size(), 3u);
            EXPECT_NE(windows[i][0], rig::kProgramExe);
            if (windows[i][1] == L"Rule target") row = static_cast<int>(i);
        }
        ASSERT_GE(row, 0) << "the helper's window is not listed";
        EXPECT_EQ(windows[static_cast<size_t>(row)], (std::vector<std::wstring>{L"rig_target.exe", L"Rule target",
                                                                                L"RigWindow"}));
        ASSERT_TRUE(dialog.ClickRow(IDC_RULE_WINDOWS, row));
        EXPECT_TRUE(rig::WaitFor([&] { return dialog.Text(IDC_RULE_PROGRAM) == L"rig_target.exe"; }));
        EXPECT_EQ(dialog.Text(IDC_RULE_CLASS), L"RigWindow");
        EXPECT_FALSE(dialog.Enabled(IDOK)) << "a rule that does nothing";
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ONLY_CLASS, 1));
        EXPECT_TRUE(dialog.Enabled(IDC_RULE_CLASS));
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_TRANSLUCENT, 1));
        EXPECT_TRUE(dialog.Enabled(IDC_RULE_LEVEL));
        EXPECT_TRUE(dialog.Enabled(IDOK));
        KeysToRuleLevel(dialog, 128);
        EXPECT_TRUE(rig::WaitFor([&] { return dialog.Text(IDC_RULE_LEVEL_LABEL) == LevelText(L"128"); }));
        CloseRuleDialog(dialog, IDOK);
    }
    EXPECT_EQ(Rules(), (Rows{{L"rig_target.exe", L"RigWindow", L"128", L""}}));
    EXPECT_EQ(sheet.PageWindow().Selected(IDC_RULES_LIST), 0);
    EXPECT_TRUE(ButtonsEnabled(true, true, true));
    EXPECT_TRUE(sheet.ApplyEnabled());

    // Typed: a path counts by its file name, which must be shorter than 260 characters.
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        TypeInto(dialog, IDC_RULE_PROGRAM, L"C:\\Tools\\Notepad.EXE");
        EXPECT_FALSE(dialog.Enabled(IDOK));
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ON_TOP, 1));
        EXPECT_TRUE(dialog.Enabled(IDOK));
        TypeInto(dialog, IDC_RULE_PROGRAM, L"C:\\Tools\\");
        EXPECT_TRUE(rig::WaitFor([&] { return !dialog.Enabled(IDOK); })) << "a path without a file name";
        PutInto(dialog, IDC_RULE_PROGRAM, L"D:\\" + std::wstring(259, L'n'));
        EXPECT_TRUE(dialog.Enabled(IDOK)) << "259 characters";
        rig::TypeText(L"n");
        EXPECT_TRUE(rig::WaitFor([&] { return !dialog.Enabled(IDOK); })) << "260 characters";
        TypeInto(dialog, IDC_RULE_PROGRAM, L"C:\\Tools\\Notepad.EXE");
        CloseRuleDialog(dialog, IDOK);
    }
    // The same program in other capitals, every class: it takes that rule's place.
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        TypeInto(dialog, IDC_RULE_PROGRAM, L"NOTEPAD.exe");
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_TRANSLUCENT, 1));
        EXPECT_EQ(dialog.Text(IDC_RULE_LEVEL_LABEL), LevelText(L"200"));
        CloseRuleDialog(dialog, IDOK);
    }
    EXPECT_EQ(Rules(), (Rows{{L"rig_target.exe", L"RigWindow", L"128", L""},
                             {L"NOTEPAD.exe", L"(すべて)", L"200", L""}}));
    EXPECT_EQ(sheet.PageWindow().Selected(IDC_RULES_LIST), 1);

    // Changed: the double-click shows the rule; Cancel keeps it, OK takes the change.
    {
        const rig::DialogWindow dialog = OpenRuleDialog(0, 0);
        EXPECT_EQ(dialog.Text(IDC_RULE_PROGRAM), L"rig_target.exe");
        EXPECT_EQ(dialog.Check(IDC_RULE_ONLY_CLASS), 1);
        EXPECT_EQ(dialog.Text(IDC_RULE_CLASS), L"RigWindow");
        EXPECT_EQ(dialog.Check(IDC_RULE_TRANSLUCENT), 1);
        EXPECT_EQ(dialog.Level(IDC_RULE_LEVEL), 128);
        EXPECT_EQ(dialog.Check(IDC_RULE_ON_TOP), 0);
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_TRANSLUCENT, 0));
        EXPECT_FALSE(dialog.Enabled(IDOK));
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ON_TOP, 1));
        CloseRuleDialog(dialog, IDOK);
    }
    {
        ASSERT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, 1));
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_CHANGE);
        EXPECT_EQ(dialog.Text(IDC_RULE_PROGRAM), L"NOTEPAD.exe");
        EXPECT_EQ(dialog.Check(IDC_RULE_ONLY_CLASS), 0);
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ON_TOP, 1));
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ONLY_CLASS, 1));
        EXPECT_EQ(dialog.Text(IDC_RULE_CLASS), L"");
        EXPECT_FALSE(dialog.Enabled(IDOK)) << "a class asked for and left empty";
        CloseRuleDialog(dialog, IDCANCEL);
    }
    const Rows applied{{L"rig_target.exe", L"RigWindow", L"-", L"○"}, {L"NOTEPAD.exe", L"(すべて)", L"200", L""}};
    EXPECT_EQ(Rules(), applied);

    // Apply writes them.
    PressApply();
    EXPECT_EQ(Stored(0), (std::vector<std::wstring>{L"rig_target.exe", L"RigWindow", L"0", L"1"}));
    EXPECT_EQ(Stored(1), (std::vector<std::wstring>{L"NOTEPAD.exe", L"", L"200", L"0"}));

    // Deleted: the next row takes the selection; none left, nothing to change. Cancel
    // keeps what was applied.
    ASSERT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, 0));
    sheet.Click(IDC_RULES_DELETE);
    ASSERT_TRUE(rig::WaitFor([&] { return Rules().size() == 1; }));
    EXPECT_EQ(Rules().front().front(), L"NOTEPAD.exe");
    EXPECT_EQ(sheet.PageWindow().Selected(IDC_RULES_LIST), 0);
    EXPECT_TRUE(sheet.ApplyEnabled());
    sheet.Click(IDC_RULES_DELETE);
    ASSERT_TRUE(rig::WaitFor([&] { return Rules().empty(); }));
    EXPECT_TRUE(ButtonsEnabled(true, false, false));
    CloseWith(IDCANCEL);
    EXPECT_EQ(Stored(1).size(), 4u);

    // Reopened on this page: the rules as applied. One deleted, then OK: the other stays.
    OpenByDoubleClick();
    ASSERT_EQ(sheet.PageIndex(), kRulesPage);
    EXPECT_EQ(Rules(), applied);
    ASSERT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, 1));
    sheet.Click(IDC_RULES_DELETE);
    ASSERT_TRUE(rig::WaitFor([&] { return Rules().size() == 1; }));
    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(Stored(0), (std::vector<std::wstring>{L"rig_target.exe", L"RigWindow", L"0", L"1"}));
    EXPECT_TRUE(Stored(1).empty());
}

TEST_F(RulesPage, SixtyFourRulesGreyAddAndCancelKeepsThemAll) {
    Store(0, L"p0.exe", L"Cls", 100, 1);
    for (int i = 1; i < 64; ++i) Store(i, L"p" + std::to_wstring(i) + L".exe", L"", 100, 0);
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(kRulesPage));
    Rows rules = Rules();
    ASSERT_EQ(rules.size(), 64u);
    EXPECT_EQ(rules[0], (std::vector<std::wstring>{L"p0.exe", L"Cls", L"100", L"○"}));
    EXPECT_EQ(rules[63], (std::vector<std::wstring>{L"p63.exe", L"(すべて)", L"100", L""}));
    EXPECT_TRUE(ButtonsEnabled(false, false, false));

    // One deleted: Add again. A rule for a program there already replaces its rule; a
    // new one makes 64 again.
    ASSERT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, 0));
    EXPECT_TRUE(ButtonsEnabled(false, true, true));
    sheet.Click(IDC_RULES_DELETE);
    ASSERT_TRUE(rig::WaitFor([&] { return Rules().size() == 63; }));
    EXPECT_TRUE(ButtonsEnabled(true, true, true));
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        TypeInto(dialog, IDC_RULE_PROGRAM, L"P1.EXE");
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ON_TOP, 1));
        CloseRuleDialog(dialog, IDOK);
    }
    rules = Rules();
    ASSERT_EQ(rules.size(), 63u);
    EXPECT_EQ(rules[0], (std::vector<std::wstring>{L"P1.EXE", L"(すべて)", L"-", L"○"}));
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        TypeInto(dialog, IDC_RULE_PROGRAM, L"extra.exe");
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_ON_TOP, 1));
        CloseRuleDialog(dialog, IDOK);
    }
    ASSERT_EQ(Rules().size(), 64u);
    EXPECT_EQ(Rules()[63].front(), L"extra.exe");
    EXPECT_EQ(sheet.PageWindow().Selected(IDC_RULES_LIST), 63);
    EXPECT_TRUE(ButtonsEnabled(false, true, true));

    // Cancel: the settings keep their rules, which the program writes at its end.
    CloseWith(IDCANCEL);
    Exit();
    EXPECT_EQ(Stored(0), (std::vector<std::wstring>{L"p0.exe", L"Cls", L"100", L"1"}));
    EXPECT_EQ(Stored(1), (std::vector<std::wstring>{L"p1.exe", L"", L"100", L"0"}));
    EXPECT_EQ(Stored(63), (std::vector<std::wstring>{L"p63.exe", L"", L"100", L"0"}));
}

TEST_F(RulesPage, ARuleMadeOnThePageReachesAnOpenNotepadAtApplyAndOnceDeletedTheNextComesUpOrdinary) {
    StartProbed();
    const rig::Notepad before;
    ASSERT_NE(before.window(), nullptr) << "no notepad";
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(kRulesPage));
    {
        const rig::DialogWindow dialog = OpenRuleDialog(IDC_RULES_ADD);
        const Rows windows = dialog.Rows(IDC_RULE_WINDOWS);
        int row = -1;
        for (size_t i = 0; i < windows.size(); ++i)
            if (windows[i][0] == rig::kNotepadExe) row = static_cast<int>(i);
        ASSERT_GE(row, 0) << "the notepad is not listed";
        ASSERT_TRUE(dialog.ClickRow(IDC_RULE_WINDOWS, row));
        EXPECT_TRUE(rig::WaitFor([&] { return dialog.Text(IDC_RULE_PROGRAM) == rig::kNotepadExe; }));
        ASSERT_TRUE(dialog.ClickTo(IDC_RULE_TRANSLUCENT, 1));
        KeysToRuleLevel(dialog, 150);
        CloseRuleDialog(dialog, IDOK);
    }
    EXPECT_FALSE(rig::IsLayered(before.window())) << "the rule applied before Apply";
    PressApply();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(before.window()) == 150; }))
        << "the notepad open before the rule: " << rig::LayeredAlpha(before.window());

    ASSERT_TRUE(sheet.PageWindow().ClickRow(IDC_RULES_LIST, 0));
    sheet.Click(IDC_RULES_DELETE);
    ASSERT_TRUE(rig::WaitFor([&] { return Rules().empty(); }));
    PressApply();
    EXPECT_FALSE(rig::settings::SectionExists(L"Rules\\0"));
    const rig::Notepad after;
    ASSERT_NE(after.window(), nullptr) << "no notepad";
    // The notepad reported itself as it came up; the program has taken that report once
    // it has taken a message posted later.
    ASSERT_TRUE(probe.Settle(program->window()));
    EXPECT_FALSE(rig::IsLayered(after.window())) << "the deleted rule still applied";
    EXPECT_EQ(rig::LayeredAlpha(before.window()), 150) << "a deleted rule leaves the open windows as they are";
    // The new notepad took the activation: the sheet gets it back before its OK is clicked.
    ASSERT_TRUE(rig::Activate(sheet.hwnd()));
    CloseWith(IDOK);
}

}  // namespace
