// Shade requests (title-bar double-click and right click) and the always-on-top
// toggle, with real input on windows of another process.
#include "hook_fixture.h"

namespace {

class ShadeTopmost : public HookTest {
protected:
    bool Posted(UINT message, HWND window) {
        return rig::WaitFor([&] { return program.Count(message, 0, reinterpret_cast<LPARAM>(window)) > 0; });
    }

    bool InMenu(HWND window) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
               (info.flags & (GUI_INMENUMODE | GUI_SYSTEMMENUMODE | GUI_POPUPMENUMODE));
    }
};

TEST_F(ShadeTopmost, CtrlClickTogglesAlwaysOnTop) {
    lib.EnableTopmostTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(ClickHolding(window, rig::CaptionPoint(window, 60), {"ctrl"}));
    EXPECT_TRUE(rig::WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
    ASSERT_TRUE(ClickHolding(window, rig::CaptionPoint(window, 150), {"ctrl"}));
    EXPECT_TRUE(rig::WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(ShadeTopmost, DoubleClickLeftOfTheMiddleIsSwallowedAndPosted) {
    lib.EnableShadeTP(1);
    lib.ShadeArea(1);
    const HWND window = Make(150, 120, 400, 300);
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 50);
    rig::DoubleClick(pt.x, pt.y);
    ASSERT_TRUE(Posted(WM_SHADE_DBLCLK, window));
    host.Flush();
    // Swallowed before the thread retrieved it: neither retrieved nor received.
    EXPECT_FALSE(host.Retrieved(window, WM_NCLBUTTONDOWN).empty());
    EXPECT_TRUE(host.Retrieved(window, WM_NCLBUTTONDBLCLK).empty());
    EXPECT_TRUE(host.Log(window, WM_NCLBUTTONDBLCLK).empty());
    EXPECT_FALSE(IsZoomed(window));
}

TEST_F(ShadeTopmost, DoubleClickExactlyInTheMiddleColumnIsPassedOn) {
    lib.EnableShadeTP(1);
    lib.ShadeArea(1);
    const HWND window = Make(150, 120, 400, 300);
    ASSERT_TRUE(rig::Activate(window));
    RECT rc;
    GetWindowRect(window, &rc);
    const POINT pt = rig::CaptionPoint(window, (rc.left + rc.right) / 2 - rc.left);
    ASSERT_EQ(pt.x, (rc.left + rc.right) / 2);
    rig::DoubleClick(pt.x, pt.y);
    EXPECT_TRUE(rig::WaitFor([&] { return IsZoomed(window) != FALSE; }));
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK), 0u);
    EXPECT_EQ(host.Retrieved(window, WM_NCLBUTTONDBLCLK).size(), 1u);
}

TEST_F(ShadeTopmost, RightHalfSettingPassesALeftDoubleClick) {
    lib.EnableShadeTP(1);
    lib.ShadeArea(2);
    const HWND window = Make(150, 120, 400, 300);
    ASSERT_TRUE(rig::Activate(window));
    POINT pt = rig::CaptionPoint(window, 50);
    rig::DoubleClick(pt.x, pt.y);
    EXPECT_TRUE(rig::WaitFor([&] { return IsZoomed(window) != FALSE; }));
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK), 0u);
}

TEST_F(ShadeTopmost, WholeBarSettingSwallowsOnTheBorderToo) {
    lib.EnableShadeTP(1);
    lib.ShadeArea(0);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT edge = rig::LeftBorderPoint(window);
    ASSERT_EQ(rig::HitTest(window, edge), HTLEFT);
    rig::DoubleClick(edge.x, edge.y);
    ASSERT_TRUE(Posted(WM_SHADE_DBLCLK, window));
    host.Flush();
    EXPECT_TRUE(host.Log(window, WM_NCLBUTTONDBLCLK).empty());
}

TEST_F(ShadeTopmost, ShadeOffLetsTheDoubleClickMaximise) {
    lib.ShadeArea(0);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 50);
    rig::DoubleClick(pt.x, pt.y);
    EXPECT_TRUE(rig::WaitFor([&] { return IsZoomed(window) != FALSE; }));
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK), 0u);
}

TEST_F(ShadeTopmost, RightClickIsSwallowedAndPostedWithoutASystemMenu) {
    lib.ShadeRight(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 60);
    rig::RightClick(pt.x, pt.y);
    ASSERT_TRUE(Posted(WM_SHADE_RCLICK, window));
    host.Flush();
    EXPECT_TRUE(host.Log(window, WM_NCRBUTTONDOWN).empty());
    EXPECT_FALSE(InMenu(window));
}

TEST_F(ShadeTopmost, RightClickWithLeftShiftOpensTheSystemMenu) {
    lib.ShadeRight(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    {
        rig::HeldKey shift("Shift_L");
        const POINT pt = rig::CaptionPoint(window, 60);
        rig::RightClick(pt.x, pt.y);
        ASSERT_TRUE(Received(window, WM_NCRBUTTONDOWN));
    }
    EXPECT_TRUE(rig::WaitFor([&] { return InMenu(window); }));
    EXPECT_EQ(program.Count(WM_SHADE_RCLICK), 0u);
    // Close the menu again.
    EXPECT_TRUE(rig::WaitFor([&] {
        if (!InMenu(window)) return true;
        rig::KeyPress(VK_ESCAPE);
        return false;
    }));
}

}  // namespace
