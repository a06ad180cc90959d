// Taskbar and start-menu translucency. The taskbar is Wine's own (explorer's
// "Shell_TrayWnd"); the start menus come from the fake shell, since Wine has none.
#include "hook_fixture.h"

namespace {

class Taskbar : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        ASSERT_TRUE(shell.ok());
        tray = FindWindowW(L"Shell_TrayWnd", nullptr);
        ASSERT_NE(tray, nullptr);
    }

    void TearDown() override {
        // Give the desktop its opaque taskbar back for the next test.
        lib.EnableTaskbarTP(0, 0);
        HookTest::TearDown();
    }

    HWND Menu(const wchar_t* cls, bool visible = true) {
        const HWND menu = shell.Create(rig::Layout(cls, WS_POPUP | WS_BORDER | (visible ? WS_VISIBLE : 0), 0, 400, 200, 340));
        EXPECT_NE(menu, nullptr);
        return menu;
    }

    rig::HostProcess shell{L"rig_shell.exe"};
    HWND tray = nullptr;
};

TEST_F(Taskbar, TaskbarIsTranslucentAtItsLevelAndOpaqueAt255) {
    lib.SetTaskbarTPValue(128);
    lib.EnableTaskbarTP(1, 0);
    EXPECT_EQ(rig::LayeredAlpha(tray), 128);

    // A new level reaches the already layered taskbar.
    lib.SetTaskbarTPValue(200);
    lib.EnableTaskbarTP(1, 0);
    EXPECT_EQ(rig::LayeredAlpha(tray), 200);

    lib.SetTaskbarTPValue(255);
    lib.EnableTaskbarTP(1, 0);
    EXPECT_FALSE(rig::IsLayered(tray));

    lib.SetTaskbarTPValue(100);
    lib.EnableTaskbarTP(1, 0);
    ASSERT_TRUE(rig::IsLayered(tray));
    lib.EnableTaskbarTP(0, 0);
    EXPECT_FALSE(rig::IsLayered(tray));
}

TEST_F(Taskbar, StartMenuFollowsTheTaskbarOnlyWhenAskedFor) {
    const HWND menu = Menu(L"DV2ControlHost");
    lib.SetTaskbarTPValue(100);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_EQ(rig::LayeredAlpha(menu), 100);
    EXPECT_EQ(rig::LayeredAlpha(tray), 100);

    // Start menu off: the menu turns opaque, the taskbar stays translucent.
    lib.EnableTaskbarTP(1, 0);
    EXPECT_FALSE(rig::IsLayered(menu));
    EXPECT_EQ(rig::LayeredAlpha(tray), 100);

    // Level 255: taskbar opaque, menu's layered style removed.
    lib.EnableTaskbarTP(1, 1);
    ASSERT_TRUE(rig::IsLayered(menu));
    lib.SetTaskbarTPValue(255);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_FALSE(rig::IsLayered(menu));
    EXPECT_FALSE(rig::IsLayered(tray));
}

TEST_F(Taskbar, ClassicStartMenuCountsOnlyWithoutTheXpOne) {
    const HWND xp = Menu(L"DV2ControlHost");
    const HWND classic = Menu(L"BaseBar");
    lib.SetTaskbarTPValue(110);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_EQ(rig::LayeredAlpha(xp), 110);
    EXPECT_FALSE(rig::IsLayered(classic));

    shell.Destroy(xp);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_EQ(rig::LayeredAlpha(classic), 110);
}

TEST_F(Taskbar, HiddenXpStartMenuBecomesTranslucentWhenFirstActivated) {
    const HWND menu = Menu(L"DV2ControlHost", /*visible=*/false);
    lib.SetTaskbarTPValue(90);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_FALSE(rig::IsLayered(menu));
    EXPECT_FALSE(IsWindowVisible(menu));

    ShowWindow(menu, SW_SHOW);
    ASSERT_TRUE(rig::Activate(menu));
    EXPECT_TRUE(WaitLayeredAt(menu, 90));
}

TEST_F(Taskbar, XpStartMenuTakesLevel255AsLayeredAtActivation) {
    const HWND menu = Menu(L"DV2ControlHost");
    const HWND other = Make();
    lib.SetTaskbarTPValue(255);
    lib.EnableTaskbarTP(1, 1);
    EXPECT_FALSE(rig::IsLayered(menu));
    // Activated anew (it was active since it was shown).
    ASSERT_TRUE(rig::Activate(other));
    ASSERT_TRUE(rig::Activate(menu));
    EXPECT_TRUE(WaitLayeredAt(menu, 255));
}

TEST_F(Taskbar, RecreatedTaskbarBecomesTranslucentAtItsFirstActivation) {
    lib.SetTaskbarTPValue(140);
    lib.EnableTaskbarTP(1, 0);
    // A taskbar that the shell creates anew starts opaque.
    const HWND fresh = shell.Create(rig::Layout(L"Shell_TrayWnd", WS_POPUP, 0, 700, 600, 40));
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(rig::IsLayered(fresh));
    ShowWindow(fresh, SW_SHOW);
    ASSERT_TRUE(rig::Activate(fresh));
    EXPECT_TRUE(WaitLayeredAt(fresh, 140));
    shell.Destroy(fresh);
}

}  // namespace
