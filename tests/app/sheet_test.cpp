// The settings sheet as a whole: how it opens (double-click, menu item, a second start)
// and on which page, that a second one never opens, its size and layout at 96, 120 and
// 144 DPI with every page inside the tab control, and the records it is built from.
#include <windows.h>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

const wchar_t* const kTabCaptions[] = {L"ウインドウ",   L"移動",     L"サイズ変更",   L"タスクバー", L"デスクトップ",
                                       L"シェード",     L"その他",   L"プログラム別", L"キー"};

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
        // Whole-number arithmetic: a floating-point product made 322 into 321 at 96 DPI in
        // the 32-bit build (x87 precision).
        const auto scale = [&](int v) { return v * dpi / 96; };
        const RECT tab = InSheet(PropSheet_GetTabControl(sheet.hwnd()));
        EXPECT_EQ(Size(tab).cx, scale(322));
        EXPECT_EQ(Size(tab).cy, scale(192));
        // The eight tabs in two rows: a third would take room from the pages.
        EXPECT_EQ(SendMessageW(PropSheet_GetTabControl(sheet.hwnd()), TCM_GETROWCOUNT, 0, 0), 2);
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
    ASSERT_EQ(sheet.PageCount(), 9);
    for (int i = 0; i < 9; ++i) {
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

// The header and page records of their first versions, which Windows 2000 knows (it
// refuses the larger ones of later headers; Wine takes any).
TEST_F(Sheet, IsBuiltFromRecordsWindows2000Knows) {
    StartProbed();
    ASSERT_TRUE(probe.RecordPropertySheets(program->window()));
    OpenByDoubleClick();
    const rig::ProgramProbe::SheetRecords made = probe.PropertySheetRecords();
    EXPECT_EQ(made.runs, 1);
    EXPECT_EQ(made.headerSize, PROPSHEETHEADERW_V1_SIZE);
    ASSERT_EQ(made.pageSizes.size(), 9u);
    for (const UINT size : made.pageSizes) EXPECT_EQ(size, PROPSHEETPAGEW_V1_SIZE);
    EXPECT_EQ(sheet.PageCount(), 9);
    CloseWith(IDCANCEL);
}

// The sheet's size and layout, and every page inside the tab control's display area
// (the pages' templates are larger than the tab the sheet shrinks), for screens of 96,
// 120 and 144 DPI.
class SheetAtDpi : public Sheet, public testing::WithParamInterface<DWORD> {
protected:
    static bool Inside(const RECT& inner, const RECT& outer) {
        return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
               inner.bottom <= outer.bottom;
    }
    static std::string Show(const RECT& rc) {
        return std::to_string(rc.left) + "," + std::to_string(rc.top) + "-" + std::to_string(rc.right) + "," +
               std::to_string(rc.bottom);
    }
};

TEST_P(SheetAtDpi, SizeLayoutAndEveryPageInsideTheTab) {
    const rig::ScreenDpi dpi(GetParam());
    StartProbed();
    probe.Clear();
    OpenByDoubleClick();
    EXPECT_FALSE(sheet.ApplyEnabled()) << "nothing changed yet";
    ExpectLayout(static_cast<int>(GetParam()));
    const RECT area = sheet.PageArea();
    ASSERT_FALSE(IsRectEmpty(&area));
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(SelectPage(i));
        const HWND page = sheet.Page();
        EXPECT_TRUE(Inside(rig::WindowRect(page), area)) << "tab " << i << ": " << Show(rig::WindowRect(page))
                                                         << " in " << Show(area);
        // Placed larger, as a sheet that sizes a new page from its template does, the
        // page keeps to the display area (and is put back if not, to leave the buttons free).
        const RECT own = InSheet(page);
        SetWindowPos(page, nullptr, own.left, own.top, own.right - own.left + 60, own.bottom - own.top + 60,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_TRUE(Inside(rig::WindowRect(page), area)) << "tab " << i << " placed larger: "
                                                         << Show(rig::WindowRect(page)) << " in " << Show(area);
        SetWindowPos(page, nullptr, own.left, own.top, own.right - own.left, own.bottom - own.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    CloseWith(IDCANCEL);

    // Opened on the last tab, the sheet made the first page before it shrank the tab
    // control: that one, hidden, is inside too.
    OpenByDoubleClick();
    ASSERT_EQ(sheet.PageIndex(), 8);
    const std::vector<HWND> pages = sheet.Pages();
    EXPECT_EQ(pages.size(), 2u);
    for (const HWND page : pages)
        EXPECT_TRUE(Inside(rig::WindowRect(page), sheet.PageArea()))
            << rig::WindowText(page) << ": " << Show(rig::WindowRect(page)) << " in " << Show(sheet.PageArea());
}

INSTANTIATE_TEST_SUITE_P(Screen, SheetAtDpi, testing::Values(96, 120, 144),
                         [](const testing::TestParamInfo<DWORD>& info) {
                             return "At" + std::to_string(info.param) + "Dpi";
                         });

}  // namespace
