// Title-bar click gestures with real input on windows of another process:
// Shift+left click and middle click toggle translucency at the click level.
#include "hook_fixture.h"
#include "notepad.h"

namespace {

constexpr int kLevel = 150;

class Gestures : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        lib.SetClaroviaValue(kLevel);
    }

    // Shift+left click at a point; returns once the window has received the press
    // with Shift down.
    void ShiftClick(HWND window, POINT pt, UINT expected = WM_NCLBUTTONDOWN) {
        ASSERT_TRUE(ClickHolding(window, pt, {"shift"}, expected));
    }

    void MiddleClick(HWND window, POINT pt) {
        const size_t before = host.Log(window, WM_NCMBUTTONDOWN).size();
        rig::MiddleClick(pt.x, pt.y);
        ASSERT_TRUE(Received(window, WM_NCMBUTTONDOWN, before + 1));
    }
};

TEST_F(Gestures, ShiftClickOnTheTitleBarTogglesTranslucency) {
    lib.EnableSClickTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT first = rig::CaptionPoint(window, 60);
    ASSERT_EQ(rig::HitTest(window, first), HTCAPTION);

    ShiftClick(window, first);
    EXPECT_TRUE(WaitLayeredAt(window, kLevel));
    // A second click elsewhere on the bar (not a double-click) makes it opaque again.
    ShiftClick(window, rig::CaptionPoint(window, 140));
    EXPECT_TRUE(WaitOpaque(window));
}

TEST_F(Gestures, ShiftClickOnTheSizingBorderToggles) {
    lib.EnableSClickTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT border = rig::LeftBorderPoint(window);
    ASSERT_EQ(rig::HitTest(window, border), HTLEFT);
    ShiftClick(window, border);
    EXPECT_TRUE(WaitLayeredAt(window, kLevel));
}

TEST_F(Gestures, ShiftClickOnButtonsClientAreaOrCaptionlessWindowDoesNothing) {
    lib.EnableSClickTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));

    // Press on the minimise button, release away from it: the button does not fire.
    RECT rc;
    GetWindowRect(window, &rc);
    POINT button = rig::CaptionPoint(window);
    for (button.x = rc.right - 4; button.x > rc.left && rig::HitTest(window, button) != HTMINBUTTON; --button.x) {
    }
    ASSERT_EQ(rig::HitTest(window, button), HTMINBUTTON);
    {
        rig::HeldKey shift("shift");
        rig::LeftDown(button.x, button.y);
        ASSERT_TRUE(Received(window, WM_NCLBUTTONDOWN));
        const POINT away = rig::ClientPoint(window);
        rig::LeftUp(away.x, away.y);
    }
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_FALSE(IsIconic(window));

    ShiftClick(window, rig::ClientPoint(window), WM_LBUTTONDOWN);
    EXPECT_FALSE(rig::IsLayered(window));

    // A sizable popup: its frame hit-tests as a border, but it has no caption bits.
    const HWND popup = Make(600, 200, 300, 200, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
    ASSERT_TRUE(rig::Activate(popup));
    const POINT edge = rig::LeftBorderPoint(popup);
    ASSERT_EQ(rig::HitTest(popup, edge), HTLEFT);
    ShiftClick(popup, edge);
    EXPECT_FALSE(rig::IsLayered(popup));
}

TEST_F(Gestures, ShiftClickWithOnlyTopmostOnLeavesTranslucencyAlone) {
    lib.EnableTopmostTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    ShiftClick(window, rig::CaptionPoint(window, 60));
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Gestures, CtrlShiftClickWithBothOnTogglesTranslucencyOnly) {
    lib.EnableSClickTP(1);
    lib.EnableTopmostTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(ClickHolding(window, rig::CaptionPoint(window, 60), {"ctrl", "shift"}));
    EXPECT_TRUE(WaitLayeredAt(window, kLevel));
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Gestures, MiddleClickMakesTranslucentThenOpaque) {
    lib.EnableMClickTP(1);
    const HWND window = Make();
    MiddleClick(window, rig::CaptionPoint(window, 60));
    EXPECT_TRUE(WaitLayeredAt(window, kLevel));
    MiddleClick(window, rig::CaptionPoint(window, 140));
    EXPECT_TRUE(WaitOpaque(window));
}

TEST_F(Gestures, WindowLayeredBySomeoneElseIsMadeOpaque) {
    lib.EnableMClickTP(1);
    const HWND window = Make();
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 220, LWA_ALPHA);
    MiddleClick(window, rig::CaptionPoint(window, 60));
    EXPECT_TRUE(WaitOpaque(window));
}

TEST_F(Gestures, NothingHappensWhileLocked) {
    lib.EnableMClickTP(1);
    lib.LockMessage(1);
    const HWND window = Make();
    MiddleClick(window, rig::CaptionPoint(window, 60));
    EXPECT_FALSE(rig::IsLayered(window));
}

}  // namespace

// A program of the other width gets its events through this library's hooks only
// marshalled to this thread (on 64-bit Windows): Wine's notepad of that width is left
// alone, the wheel click does not change it and the double-click maximises it, while a
// window of this width beside it answers.
TEST_F(Gestures, ANotepadOfTheOtherWidthIsLeftAloneBesideAWindowOfThisOne) {
    const std::wstring exe = rig::OtherWidthNotepad();
    if (exe.empty()) GTEST_SKIP() << "no programs of the other width run here";
    lib.EnableMClickTP(1);
    lib.EnableShadeTP(1);
    const rig::Notepad other(exe);
    ASSERT_NE(other.window(), nullptr) << "no notepad of the other width";
    // Side by side: notepad comes up where Wine puts it, perhaps over the other window.
    SetWindowPos(other.window(), HWND_BOTTOM, 40, 120, 400, 300, SWP_NOACTIVATE);
    ASSERT_TRUE(rig::WaitFor([&] {
        RECT rc;
        return GetWindowRect(other.window(), &rc) && rc.left == 40;
    }));
    const HWND window = Make(560, 120, 400, 300);
    const POINT caption = rig::CaptionPoint(other.window());
    rig::MiddleClick(caption.x, caption.y);
    MiddleClick(window, rig::CaptionPoint(window, 60));
    EXPECT_TRUE(WaitLayeredAt(window, kLevel));
    EXPECT_FALSE(rig::IsLayered(other.window()));
    rig::DoubleClick(caption.x, caption.y);
    EXPECT_TRUE(rig::WaitFor([&] { return IsZoomed(other.window()) != FALSE; })) << "the double-click was swallowed";
}
