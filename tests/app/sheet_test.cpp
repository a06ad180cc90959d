// The settings sheet as a whole: how it opens (double-click, menu item, a second start)
// and on which page, that a second one never opens, its size and layout at 96 and at
// 120 DPI, and what OK, Apply and Cancel store.
#include <windows.h>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

const wchar_t* const kTabCaptions[] = {L"ウインドウ", L"移動",       L"サイズ変更", L"タスクバー",
                                       L"デスクトップ", L"シェード", L"その他"};

class Sheet : public SheetTest {
protected:
    // The rectangle of a child of the sheet in the sheet's client coordinates.
    RECT InSheet(HWND child) const {
        RECT rc = rig::WindowRect(child);
        MapWindowPoints(nullptr, sheet.hwnd(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static SIZE Size(const RECT& rc) { return SIZE{rc.right - rc.left, rc.bottom - rc.top}; }

    // The sheet's frame and controls for a screen of `dpi`.
    void ExpectLayout(int dpi) {
        const auto scale = [&](int v) { return static_cast<int>(v * (dpi * 0.010416666666666666)); };
        const RECT tab = InSheet(PropSheet_GetTabControl(sheet.hwnd()));
        EXPECT_EQ(Size(tab).cx, scale(322));
        EXPECT_EQ(Size(tab).cy, scale(192));
        EXPECT_EQ(Size(rig::WindowRect(sheet.hwnd())).cx, scale(343));
        // 230 scaled, and the caption and frame as the program's metrics give them (known
        // here only at the DPI this test started with).
        const int height = Size(rig::WindowRect(sheet.hwnd())).cy;
        if (dpi == 96)
            EXPECT_EQ(height, 2 * (GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYEDGE)) +
                                  GetSystemMetrics(SM_CYCAPTION) + 230);
        else
            EXPECT_GT(height, scale(230) + GetSystemMetrics(SM_CYCAPTION));
        EXPECT_TRUE(GetWindowLongW(sheet.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        // One icon sent as the big and the small one (Wine answers no WM_GETICON from
        // another process: the probe saw what the sheet was sent).
        const std::vector<rig::ProbeMessage> icons = probe.Messages(sheet.hwnd(), WM_SETICON);
        ASSERT_EQ(icons.size(), 2u);
        EXPECT_EQ(icons[0].wParam, static_cast<uint64_t>(ICON_BIG));
        EXPECT_EQ(icons[1].wParam, static_cast<uint64_t>(ICON_SMALL));
        EXPECT_NE(icons[0].lParam, 0u);
        EXPECT_EQ(icons[0].lParam, icons[1].lParam);
        const struct {
            int id;
            int right;
        } buttons[] = {{IDOK, 142}, {IDCANCEL, 235}, {rig::kApplyButton, 328}};
        for (const auto& b : buttons) {
            const HWND button = GetDlgItem(sheet.hwnd(), b.id);
            ASSERT_NE(button, nullptr) << b.id;
            EXPECT_TRUE(IsWindowVisible(button)) << b.id;
            EXPECT_EQ(InSheet(button).right, scale(b.right)) << b.id;
            EXPECT_EQ(InSheet(button).top, scale(205)) << b.id;
        }
        // The Window page's controls where its table puts them.
        const struct {
            int id, x, y, w, h;
        } rects[] = {{IDC_WINDOW_GROUP, 12, 14, 289, 124},     {IDC_WINDOW_LEVEL_LABEL, 40, 89, 109, 14},
                     {IDC_WINDOW_LEVEL, 46, 107, 219, 20},     {IDC_WINDOW_STEP_CAPTION, 224, 68, 31, 15},
                     {IDC_WINDOW_STEP, 270, 65, 17, 19},       {IDC_WINDOW_STEP_EDIT, 255, 65, 22, 19},
                     {IDC_WINDOW_WHEEL, 23, 68, 200, 15},      {IDC_WINDOW_MCLICK, 23, 50, 270, 15},
                     {IDC_WINDOW_SCLICK, 23, 32, 270, 15}};
        for (const auto& r : rects) {
            const RECT rc = sheet.ItemRect(r.id);
            EXPECT_EQ(rc.left, scale(r.x)) << r.id;
            EXPECT_EQ(rc.top, scale(r.y)) << r.id;
            EXPECT_EQ(rc.right - rc.left, scale(r.w)) << r.id;
            EXPECT_EQ(rc.bottom - rc.top, scale(r.h)) << r.id;
        }
        // Moved later lies on top: the edit over the up-down it overlaps.
        EXPECT_EQ(GetWindow(sheet.Item(IDC_WINDOW_STEP_EDIT), GW_HWNDNEXT), sheet.Item(IDC_WINDOW_STEP));
    }
};

TEST_F(Sheet, OpensOnTheLastPageFromTheTrayTheMenuAndASecondStartAndNeverTwice) {
    StartProbed();
    OpenByDoubleClick();
    EXPECT_EQ(sheet.PageIndex(), 0);
    ASSERT_EQ(sheet.PageCount(), 7);
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(SelectPage(i));
        EXPECT_EQ(rig::WindowText(sheet.Page()), kTabCaptions[i]) << "tab " << i;
    }
    ASSERT_TRUE(SelectPage(3));

    // Neither a double-click, nor the menu item, nor a second start opens another.
    PostMessageW(program->window(), rig::kTrayNotify, rig::kTrayIconId, WM_LBUTTONDBLCLK);
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdSettings, 0);
    {
        rig::Program second;
        ASSERT_TRUE(second.Start());
        ASSERT_TRUE(second.WaitExit());
    }
    ASSERT_TRUE(probe.Settle(program->window()));
    EXPECT_EQ(sheet.Windows().size(), 1u);
    EXPECT_EQ(sheet.PageIndex(), 3);

    CloseWith(IDCANCEL);
    // The double-click reopens the page it was closed on; the menu item the Move page.
    OpenByDoubleClick();
    EXPECT_EQ(sheet.PageIndex(), 3);
    ASSERT_TRUE(SelectPage(5));
    CloseWith(IDOK);
    OpenFromMenu();
    EXPECT_EQ(sheet.PageIndex(), 1);
    CloseWith(IDCANCEL);

    // A second start is a double-click: it opens the sheet, on the page last closed.
    {
        rig::Program second;
        ASSERT_TRUE(second.Start());
        ASSERT_TRUE(second.WaitExit());
    }
    ASSERT_TRUE(sheet.WaitOpen());
    EXPECT_EQ(sheet.PageIndex(), 1);
    CloseWith(IDCANCEL);

    // Paused: the double-click opens nothing.
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
    PostMessageW(program->window(), rig::kTrayNotify, rig::kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(probe.Settle(program->window()));
    EXPECT_TRUE(sheet.Windows().empty());
}

TEST_F(Sheet, SizeAndLayoutAt96Dpi) {
    StartProbed();
    probe.Clear();
    OpenByDoubleClick();
    EXPECT_FALSE(sheet.ApplyEnabled()) << "nothing changed yet";
    ExpectLayout(96);
}

TEST_F(Sheet, SizeAndLayoutAt120Dpi) {
    const rig::ScreenDpi dpi(120);
    StartProbed();
    probe.Clear();
    OpenByDoubleClick();
    ExpectLayout(120);
}

}  // namespace
