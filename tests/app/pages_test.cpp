// The Move, Size, Taskbar, Shade and Other pages with real clicks, keys and typing: their
// enabling rules, checks and tab orders, their tooltips, and what Apply, OK and Cancel
// make of them (the library's shared record, the shell, the registry after exit).
#include <windows.h>
#include <shellapi.h>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

class Pages : public SheetTest {
protected:
    // Drags a window by its title bar until its move loop runs; the button stays down.
    bool StartDrag(HWND window) {
        const POINT from = rig::CaptionPoint(window);
        const size_t before = host.Log(window, WM_MOVING).size();
        rig::LeftDown(from.x, from.y);
        int step = 0;
        return rig::WaitFor([&] {
            if (host.Log(window, WM_MOVING).size() > before) return true;
            ++step;
            rig::MoveMouse(from.x + 4 * step, from.y + 3 * step);
            return false;
        });
    }
    static void EndDrag() {
        POINT pt;
        GetCursorPos(&pt);
        rig::LeftUp(pt.x, pt.y);
    }
};

TEST_F(Pages, MovePageChecksItsSizesFollowsItsMastersAndAppliesTheLevelToADrag) {
    StartProbed();
    const HWND target = Make(L"Dragged", 480, 300, 400, 260);
    OpenFromMenu();
    ASSERT_EQ(sheet.PageIndex(), 1);
    // Filling in the two edits at the page's start is a change already.
    EXPECT_TRUE(sheet.ApplyEnabled());
    EXPECT_EQ(sheet.Text(IDC_MOVE_WIDTH), L"500");

    // The size controls follow the limit box, and everything the master box.
    const std::initializer_list<int> size = {IDC_MOVE_WIDTH_CAPTION, IDC_MOVE_WIDTH, IDC_MOVE_HEIGHT_CAPTION,
                                             IDC_MOVE_HEIGHT};
    for (const int id : size) EXPECT_FALSE(sheet.Enabled(id)) << id;
    ASSERT_TRUE(sheet.ClickTo(IDC_MOVE_LIMIT, 1));
    for (const int id : size) EXPECT_TRUE(sheet.Enabled(id)) << id;

    // Tab order: the master, the level, the limit, width, height.
    ASSERT_TRUE(sheet.TabTo(IDC_MOVE_ENABLE));
    std::vector<int> visited;
    ASSERT_TRUE(sheet.TabTo(IDC_MOVE_HEIGHT, &visited));
    EXPECT_EQ(visited, (std::vector<int>{IDC_MOVE_LEVEL, IDC_MOVE_LIMIT, IDC_MOVE_WIDTH, IDC_MOVE_HEIGHT}));
    ASSERT_TRUE(sheet.ClickTo(IDC_MOVE_ENABLE, 0));
    for (const int id : {IDC_MOVE_LEVEL, IDC_MOVE_LEVEL_LABEL, IDC_MOVE_LIMIT}) EXPECT_FALSE(sheet.Enabled(id)) << id;
    for (const int id : size) EXPECT_FALSE(sheet.Enabled(id)) << id;
    ASSERT_TRUE(sheet.ClickTo(IDC_MOVE_ENABLE, 1));
    for (const int id : size) EXPECT_TRUE(sheet.Enabled(id)) << id;

    // Widths that are no positive number keep the value in force, and show it again.
    for (const wchar_t* refused : {L"0", L"-20", L"abc", L""}) {
        TypeInto(IDC_MOVE_WIDTH, refused);
        PressApply();
        EXPECT_EQ(sheet.Text(IDC_MOVE_WIDTH), L"500") << refused;
        EXPECT_EQ(shared().MoveTPW, 500) << refused;
    }
    TypeInto(IDC_MOVE_WIDTH, L" 640px");
    // A height must exceed a caption's.
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    TypeInto(IDC_MOVE_HEIGHT, std::to_wstring(caption));
    PressApply();
    EXPECT_EQ(sheet.Text(IDC_MOVE_WIDTH), L"640");
    EXPECT_EQ(shared().MoveTPW, 640);
    EXPECT_EQ(sheet.Text(IDC_MOVE_HEIGHT), L"500");
    TypeInto(IDC_MOVE_HEIGHT, std::to_wstring(caption + 1));
    PressApply();
    EXPECT_EQ(shared().MoveTPH, caption + 1);

    // The level, without the limit, reaches a real drag.
    ASSERT_TRUE(sheet.ClickTo(IDC_MOVE_LIMIT, 0));
    ASSERT_TRUE(sheet.TabTo(IDC_MOVE_LEVEL));
    ASSERT_TRUE(sheet.KeysToLevel(IDC_MOVE_LEVEL, 120));
    PressApply();
    EXPECT_EQ(shared().MoveTPValue, 120);
    EXPECT_EQ(shared().MoveTPLimit, 0);
    ASSERT_TRUE(StartDrag(target));
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(target) == 120; })) << rig::LayeredAlpha(target);
    EndDrag();
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(target); }));

    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"MoveTPW"), std::optional<DWORD>(640));
    EXPECT_EQ(rig::settings::Dword(L"MoveTPH"), std::optional<DWORD>(caption + 1));
    EXPECT_EQ(rig::settings::Dword(L"MoveTPValue"), std::optional<DWORD>(120));
}

TEST_F(Pages, SizePageMasterAndTabOrder) {
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(2));
    ASSERT_TRUE(sheet.ClickTo(IDC_SIZE_ENABLE, 0));
    EXPECT_FALSE(sheet.Enabled(IDC_SIZE_LEVEL));
    EXPECT_FALSE(sheet.Enabled(IDC_SIZE_LEVEL_LABEL));
    EXPECT_TRUE(sheet.ApplyEnabled());
    // Back to its stored state: Apply stays enabled (no change is ever withdrawn).
    ASSERT_TRUE(sheet.ClickTo(IDC_SIZE_ENABLE, 1));
    EXPECT_TRUE(sheet.Enabled(IDC_SIZE_LEVEL));
    EXPECT_TRUE(sheet.ApplyEnabled());
    std::vector<int> visited;
    ASSERT_TRUE(sheet.TabTo(IDC_SIZE_ENABLE));
    ASSERT_TRUE(sheet.TabTo(IDC_SIZE_LEVEL, &visited));
    EXPECT_EQ(visited, (std::vector<int>{IDC_SIZE_LEVEL}));
    ASSERT_TRUE(sheet.KeysToLevel(IDC_SIZE_LEVEL, 66));
    ASSERT_TRUE(sheet.ClickTo(IDC_SIZE_ENABLE, 0));
    PressApply();
    EXPECT_EQ(shared().SizingTP, 0);
    EXPECT_EQ(shared().SizingTPValue, 66) << "the level is stored while disabled";
}

// With Wine's own taskbar (and the tray requests going to it).
class TaskbarPage : public Pages {
protected:
    bool WithTrayStandIn() const override { return false; }
};

TEST_F(TaskbarPage, LevelReachesTheTaskbarAndTheStartButtonTakesAnyText) {
    const HWND taskbar = ShellTaskbar();
    ASSERT_NE(taskbar, nullptr);
    const HWND button = GetWindow(taskbar, GW_CHILD);
    const std::wstring ownText = rig::WindowText(button);
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(3));

    // The start button's text: its controls follow its box.
    EXPECT_FALSE(sheet.Enabled(IDC_START_BUTTON_TEXT));
    ASSERT_TRUE(sheet.ClickTo(IDC_START_BUTTON_ENABLE, 1));
    EXPECT_TRUE(sheet.Enabled(IDC_START_BUTTON_TEXT));
    EXPECT_TRUE(sheet.Enabled(IDC_START_BUTTON_CAPTION));
    std::vector<int> visited;
    ASSERT_TRUE(sheet.TabTo(IDC_TASKBAR_ENABLE));
    ASSERT_TRUE(sheet.TabTo(IDC_START_BUTTON_TEXT, &visited));
    EXPECT_EQ(visited, (std::vector<int>{IDC_TASKBAR_START_MENU, IDC_TASKBAR_LEVEL, IDC_START_BUTTON_ENABLE,
                                         IDC_START_BUTTON_TEXT}));
    // Text outside code page 932 too.
    const std::wstring text = L"スタート Ωü한";
    TypeInto(IDC_START_BUTTON_TEXT, text);

    // The start menu's box follows the taskbar's and keeps its state.
    ASSERT_TRUE(sheet.ClickTo(IDC_TASKBAR_START_MENU, 1));
    ASSERT_TRUE(sheet.ClickTo(IDC_TASKBAR_ENABLE, 0));
    for (const int id : {IDC_TASKBAR_LEVEL, IDC_TASKBAR_LEVEL_LABEL, IDC_TASKBAR_START_MENU})
        EXPECT_FALSE(sheet.Enabled(id)) << id;
    EXPECT_EQ(sheet.Check(IDC_TASKBAR_START_MENU), 1);
    ASSERT_TRUE(sheet.ClickTo(IDC_TASKBAR_ENABLE, 1));
    ASSERT_TRUE(sheet.TabTo(IDC_TASKBAR_LEVEL));
    ASSERT_TRUE(sheet.KeysToLevel(IDC_TASKBAR_LEVEL, 100));
    PressApply();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(taskbar) == 100; })) << rig::LayeredAlpha(taskbar);
    EXPECT_EQ(shared().StartMenuTP, 1);
    EXPECT_EQ(rig::WindowText(button), text);

    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(rig::settings::String(L"StartButtonText"), std::optional<std::wstring>(text));
    EXPECT_EQ(rig::settings::Dword(L"TaskbarTPValue"), std::optional<DWORD>(100));
    EXPECT_EQ(rig::WindowText(button), ownText);
}

TEST_F(Pages, ShadePageRadioGroupUnknownAreaAndTooltip) {
    rig::settings::SetDword(L"ShadeArea", 5);
    StartProbed();
    const HWND other = Make(L"Other", 480, 300, 400, 260);
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(5));
    const int radios[] = {IDC_SHADE_LEFT_HALF, IDC_SHADE_RIGHT_HALF, IDC_SHADE_WHOLE};
    for (const int id : radios) EXPECT_EQ(sheet.Check(id), 0) << "an area the page does not know selects none";
    EXPECT_FALSE(sheet.ApplyEnabled());

    // Only the check boxes are tab stops, the right click's first.
    std::vector<int> visited;
    ASSERT_TRUE(sheet.TabTo(IDC_SHADE_RIGHT_CLICK));
    ASSERT_TRUE(sheet.TabTo(IDC_SHADE_DOUBLE_CLICK, &visited));
    EXPECT_EQ(visited, (std::vector<int>{IDC_SHADE_DOUBLE_CLICK}));

    // OK without choosing an area keeps the stored one.
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_RIGHT_CLICK, 0));
    CloseWith(IDOK);
    EXPECT_EQ(shared().ShadeArea, 5);
    EXPECT_EQ(shared().ShadeRight, 0);

    // A radio button marks the page; left, right and left again leaves it marked.
    OpenByDoubleClick();
    ASSERT_EQ(sheet.PageIndex(), 5);
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_LEFT_HALF, 1));
    EXPECT_TRUE(sheet.ApplyEnabled());
    PressApply();
    EXPECT_EQ(shared().ShadeArea, 1);
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_RIGHT_HALF, 1));
    EXPECT_EQ(sheet.Check(IDC_SHADE_LEFT_HALF), 0) << "one group";
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_LEFT_HALF, 1));
    EXPECT_TRUE(sheet.ApplyEnabled());
    // Without the double-click the area is disabled, and still stored.
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_WHOLE, 1));
    ASSERT_TRUE(sheet.ClickTo(IDC_SHADE_DOUBLE_CLICK, 0));
    for (const int id : radios) EXPECT_FALSE(sheet.Enabled(id)) << id;
    PressApply();
    EXPECT_EQ(shared().ShadeArea, 0);
    EXPECT_EQ(shared().ShadeTP, 0);

    // The Shift hint on the right-click box, also while the sheet is not active.
    EXPECT_TRUE(TooltipShownWhileInactive(IDC_SHADE_RIGHT_CLICK, other));
    CloseWith(IDCANCEL);
}

TEST_F(Pages, OtherPageBoxesTheTrayIconAtApplyAndTooltip) {
    StartProbed();
    const HWND other = Make(L"Other", 480, 300, 400, 260);
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(6));
    const int boxes[] = {IDC_OTHER_TOPMOST,   IDC_OTHER_OVERLAP,   IDC_OTHER_NO_TRAY_ICON, IDC_OTHER_HIDE_MENU,
                         IDC_OTHER_HIDE_FLAG, IDC_OTHER_STARTUP, IDC_OTHER_CLOCK};
    for (const int id : boxes) EXPECT_EQ(sheet.Check(id), 0) << id;
    // Twice is back to the stored state, and still a change.
    ASSERT_TRUE(sheet.ClickTo(IDC_OTHER_CLOCK, 1));
    ASSERT_TRUE(sheet.ClickTo(IDC_OTHER_CLOCK, 0));
    EXPECT_TRUE(sheet.ApplyEnabled());

    // No tray icon: gone at Apply, with the sheet still open.
    ASSERT_TRUE(sheet.ClickTo(IDC_OTHER_NO_TRAY_ICON, 1));
    ASSERT_TRUE(sheet.ClickTo(IDC_OTHER_TOPMOST, 1));
    ASSERT_TRUE(sheet.ClickTo(IDC_OTHER_HIDE_FLAG, 1));
    tray->Clear();
    PressApply();
    EXPECT_EQ(tray->Calls(NIM_DELETE).size(), 1u);
    EXPECT_EQ(sheet.Windows().size(), 1u);
    EXPECT_EQ(shared().TopmostTP, 1);

    EXPECT_TRUE(TooltipShownWhileInactive(IDC_OTHER_NO_TRAY_ICON, other));
    ASSERT_TRUE(rig::Activate(sheet.hwnd()));
    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"NoTaskTrayIcon"), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::Dword(L"EnableTopmostTP"), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::Dword(L"HideFlag"), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::Dword(L"ShowClock"), std::optional<DWORD>(0));
}

TEST_F(Pages, StoredLevelsOutOfRangeShowClampedMarkThePageAndAreStoredClamped) {
    rig::settings::SetDword(L"ClaroviaValue", 9);
    rig::settings::SetDword(L"MoveTPValue", 300);
    StartProbed();
    OpenByDoubleClick();
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_LEVEL_LABEL) == LevelText(L"010"); }))
        << sheet.Text(IDC_WINDOW_LEVEL_LABEL).c_str();
    EXPECT_TRUE(sheet.ApplyEnabled()) << "the clamped level differs from the stored one";
    ASSERT_TRUE(SelectPage(1));
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_MOVE_LEVEL_LABEL) == LevelText(L"255"); }));

    // A level below 10 the trackbar never reaches: widened from outside, it shows "009".
    ASSERT_TRUE(SelectPage(0));
    SendMessageW(sheet.Item(IDC_WINDOW_LEVEL), TBM_SETRANGEMIN, TRUE, 0);
    SendMessageW(sheet.Item(IDC_WINDOW_LEVEL), TBM_SETPOS, TRUE, 9);
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_LEVEL_LABEL) == LevelText(L"009"); }))
        << sheet.Text(IDC_WINDOW_LEVEL_LABEL).c_str();
    SendMessageW(sheet.Item(IDC_WINDOW_LEVEL), TBM_SETRANGEMIN, TRUE, 10);
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Level(IDC_WINDOW_LEVEL) == 10; }));

    CloseWith(IDOK);
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(10));
    EXPECT_EQ(rig::settings::Dword(L"MoveTPValue"), std::optional<DWORD>(255));
}

TEST_F(Pages, OkStoresTheVisitedPagesAndApplyThenCancelKeepsWhatWasApplied) {
    // Values that a page would change if it applied.
    rig::settings::SetDword(L"ClaroviaValue", 300);
    rig::settings::SetDword(L"SizingTPValue", 300);
    rig::settings::SetDword(L"ShadeArea", 7);
    rig::settings::SetDword(L"MoveTPValue", 150);
    StartProbed();

    // Opened on the Move page and closed at once with OK: the Move page and the Window
    // page (made in every run) store their fields; the unvisited pages keep theirs.
    const size_t before = Applies();
    OpenFromMenu();
    CloseWith(IDOK);
    EXPECT_EQ(Applies(), before + 1) << "OK runs the apply step";
    EXPECT_EQ(shared().ClaroviaValue, 255);
    EXPECT_EQ(shared().SizingTPValue, 300);
    EXPECT_EQ(shared().ShadeArea, 7);

    // Apply, then a change, then Cancel: the applied value stays, the later one is lost,
    // and the sheet ends as cancelled (no apply step after it).
    OpenByDoubleClick();
    ASSERT_EQ(sheet.PageIndex(), 1);
    ASSERT_TRUE(sheet.TabTo(IDC_MOVE_LEVEL));
    ASSERT_TRUE(sheet.KeysToLevel(IDC_MOVE_LEVEL, 180));
    PressApply();
    EXPECT_EQ(shared().MoveTPValue, 180);
    // A thumb moved away and back leaves Apply enabled.
    EXPECT_TRUE(rig::WaitFor([&] { return !sheet.ApplyEnabled(); }));
    sheet.Click(IDC_MOVE_LEVEL_LABEL);  // no focus change: the trackbar keeps it
    ASSERT_TRUE(sheet.TabTo(IDC_MOVE_LEVEL));
    // (The label shows each level once the trackbar has painted it.)
    ASSERT_TRUE(sheet.KeysToLevel(IDC_MOVE_LEVEL, 181));
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_MOVE_LEVEL_LABEL) == LevelText(L"181"); }));
    ASSERT_TRUE(sheet.KeysToLevel(IDC_MOVE_LEVEL, 180));
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_MOVE_LEVEL_LABEL) == LevelText(L"180"); }));
    EXPECT_TRUE(sheet.ApplyEnabled());
    ASSERT_TRUE(sheet.KeysToLevel(IDC_MOVE_LEVEL, 90));
    const size_t applied = Applies();
    CloseWith(IDCANCEL);
    EXPECT_EQ(Applies(), applied);
    EXPECT_EQ(shared().MoveTPValue, 180);
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"MoveTPValue"), std::optional<DWORD>(180));
    EXPECT_EQ(rig::settings::Dword(L"SizingTPValue"), std::optional<DWORD>(300));
    EXPECT_EQ(rig::settings::Dword(L"ShadeArea"), std::optional<DWORD>(7));
}

}  // namespace

namespace {

class OlderWindows : public Pages {};

TEST_F(OlderWindows, Windows2000HasNoStartButtonText) {
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    const rig::WindowsVersionFor w2k(rig::kProgramExe, L"win2k");
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(3));
    // The box and its frame stay disabled; the text follows the stored setting.
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Enabled(IDC_START_BUTTON_TEXT); }));
    EXPECT_FALSE(sheet.Enabled(IDC_START_BUTTON_ENABLE));
    EXPECT_FALSE(sheet.Enabled(IDC_START_BUTTON_GROUP));
    EXPECT_TRUE(sheet.Enabled(IDC_START_BUTTON_CAPTION));
    EXPECT_TRUE(sheet.Enabled(IDC_TASKBAR_ENABLE));
    // Moving and sizing are there.
    ASSERT_TRUE(SelectPage(1));
    EXPECT_TRUE(sheet.Enabled(IDC_MOVE_ENABLE));
    ASSERT_TRUE(SelectPage(2));
    EXPECT_TRUE(sheet.Enabled(IDC_SIZE_ENABLE));
}

TEST_F(OlderWindows, WindowsXpRestrictsNothing) {
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    const rig::WindowsVersionFor xp(rig::kProgramExe, L"winxp");
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(3));
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Enabled(IDC_START_BUTTON_TEXT); }));
    EXPECT_TRUE(sheet.Enabled(IDC_START_BUTTON_ENABLE));
    EXPECT_TRUE(sheet.Enabled(IDC_START_BUTTON_GROUP));
}

TEST_F(OlderWindows, Windows98HasNoTranslucencyOnTheMoveAndSizePages) {
    const rig::WindowsVersionFor w98(rig::kProgramExe, L"win98");
    StartProbed();
    OpenFromMenu();
    // The masters stay disabled; the posted clicks give the rest the stored state.
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Enabled(IDC_MOVE_LEVEL); }));
    EXPECT_FALSE(sheet.Enabled(IDC_MOVE_ENABLE));
    EXPECT_TRUE(sheet.Enabled(IDC_MOVE_LIMIT));
    EXPECT_FALSE(sheet.Enabled(IDC_MOVE_WIDTH));
    ASSERT_TRUE(SelectPage(2));
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Enabled(IDC_SIZE_LEVEL); }));
    EXPECT_FALSE(sheet.Enabled(IDC_SIZE_ENABLE));
    ASSERT_TRUE(SelectPage(3));
    EXPECT_FALSE(sheet.Enabled(IDC_START_BUTTON_ENABLE));
}

}  // namespace
