// The Window page with real clicks and keys: the gestures and their enabling rules, the
// level label, the step that only the arrows change, the tab order; and what Apply
// makes of it: the next Shift+click on a window of another process gives the new level.
#include <windows.h>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

class WindowPage : public SheetTest {};

TEST_F(WindowPage, LevelStepAndGesturesTakeEffectAtApply) {
    StartProbed();
    const HWND target = Make(L"Target", 480, 300, 400, 260);
    OpenByDoubleClick();
    ASSERT_EQ(sheet.PageIndex(), 0);
    // The label shows the level once the trackbar has painted.
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_LEVEL_LABEL) == LevelText(L"190"); }));
    EXPECT_EQ(sheet.Text(IDC_WINDOW_STEP_EDIT), L"5");
    EXPECT_FALSE(sheet.ApplyEnabled());

    // The tab order is the reverse of the layout's moves: check boxes, step, level.
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == sheet.Item(IDC_WINDOW_SCLICK); }));
    std::vector<int> visited;
    ASSERT_TRUE(sheet.TabTo(IDC_WINDOW_LEVEL, &visited));
    EXPECT_EQ(visited, (std::vector<int>{IDC_WINDOW_MCLICK, IDC_WINDOW_WHEEL, IDC_WINDOW_STEP_EDIT, IDC_WINDOW_LEVEL}));

    // The label follows the thumb in its three forms.
    const struct {
        int level;
        const wchar_t* shown;
    } levels[] = {{10, L"010"}, {99, L"099"}, {100, L"100"}, {255, L"255"}, {200, L"200"}};
    for (const auto& l : levels) {
        ASSERT_TRUE(sheet.KeysToLevel(IDC_WINDOW_LEVEL, l.level));
        EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_LEVEL_LABEL) == LevelText(l.shown); }))
            << l.level;
    }
    EXPECT_TRUE(sheet.ApplyEnabled());

    // The step: the arrows only (the edit takes no typing), 1 to 50.
    ASSERT_TRUE(sheet.TabTo(IDC_WINDOW_STEP_EDIT));
    rig::TypeText(L"9");
    for (int i = 0; i < 50; ++i) rig::KeyPress(VK_UP);
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_STEP_EDIT) == L"50"; }))
        << sheet.Text(IDC_WINDOW_STEP_EDIT).c_str();

    // Without the wheel, no step; without any gesture, no level either.
    ASSERT_TRUE(sheet.ClickTo(IDC_WINDOW_WHEEL, 0));
    for (const int id : {IDC_WINDOW_STEP_CAPTION, IDC_WINDOW_STEP, IDC_WINDOW_STEP_EDIT})
        EXPECT_FALSE(sheet.Enabled(id)) << id;
    EXPECT_TRUE(sheet.Enabled(IDC_WINDOW_LEVEL));
    ASSERT_TRUE(sheet.ClickTo(IDC_WINDOW_SCLICK, 0));
    ASSERT_TRUE(sheet.ClickTo(IDC_WINDOW_MCLICK, 0));
    EXPECT_FALSE(sheet.Enabled(IDC_WINDOW_LEVEL));
    EXPECT_FALSE(sheet.Enabled(IDC_WINDOW_LEVEL_LABEL));
    ASSERT_TRUE(sheet.ClickTo(IDC_WINDOW_WHEEL, 1));
    for (const int id : {IDC_WINDOW_LEVEL, IDC_WINDOW_LEVEL_LABEL, IDC_WINDOW_STEP, IDC_WINDOW_STEP_EDIT})
        EXPECT_TRUE(sheet.Enabled(id)) << id;

    PressApply();
    EXPECT_EQ(shared().ClaroviaValue, 200);
    EXPECT_EQ(shared().WheelTPValue, 50);
    EXPECT_EQ(shared().SClickTP, 0);
    EXPECT_EQ(shared().MClickTP, 0);
    EXPECT_EQ(shared().WheelTP, 1);
    EXPECT_TRUE(rig::WaitFor([&] { return !sheet.ApplyEnabled(); }));

    // An arrow that cannot move the step past 50 still counts as a change. (The Apply
    // button had the focus and lost it with its enabled state: a click on the step's
    // edit gives it the focus.)
    sheet.Click(IDC_WINDOW_STEP_EDIT);
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == sheet.Item(IDC_WINDOW_STEP_EDIT); }));
    rig::KeyPress(VK_UP);
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.ApplyEnabled(); }));
    EXPECT_EQ(sheet.Text(IDC_WINDOW_STEP_EDIT), L"50");

    // The Shift+click gesture back on, applied: a window of another process takes the level.
    ASSERT_TRUE(sheet.ClickTo(IDC_WINDOW_SCLICK, 1));
    PressApply();
    ASSERT_TRUE(rig::ClickHolding(host, target, rig::CaptionPoint(target), {"shift"}));
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(target) == 200; })) << rig::LayeredAlpha(target);

    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(200));
    EXPECT_EQ(rig::settings::Dword(L"WheelStep"), std::optional<DWORD>(50));
    EXPECT_EQ(rig::settings::Dword(L"EnableSClickTP"), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::Dword(L"EnableMClickTP"), std::optional<DWORD>(0));
}

}  // namespace
