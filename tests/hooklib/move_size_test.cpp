// Translucency while moving and sizing, with real drags of windows of another process
// by their title bar and frame, and Esc during a move.
#include "hook_fixture.h"

namespace {

constexpr int kMoveLevel = 90;
constexpr int kSizeLevel = 120;

class MoveSize : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        lib.SetMoveTPValue(kMoveLevel);
        lib.SetSizingTPValue(kSizeLevel);
    }

    // Presses at `from` and moves the pointer in steps until the window's move or size
    // loop has sent `loopMessage` (WM_MOVING or WM_SIZING). The button stays down.
    void StartDrag(HWND window, POINT from, UINT loopMessage) {
        const size_t before = host.Log(window, loopMessage).size();
        rig::LeftDown(from.x, from.y);
        ASSERT_TRUE(Received(window, WM_NCLBUTTONDOWN, host.Log(window, WM_NCLBUTTONDOWN).size()));
        int step = 0;
        ASSERT_TRUE(rig::WaitFor([&] {
            if (host.Log(window, loopMessage).size() > before) return true;
            ++step;
            rig::MoveMouse(from.x + 6 * step, from.y + 4 * step);
            return false;
        }));
    }

    void EndDrag() {
        POINT pt;
        GetCursorPos(&pt);
        rig::LeftUp(pt.x, pt.y);
    }
};

TEST_F(MoveSize, WindowWithinTheLimitIsTranslucentWhileMoved) {
    lib.EnableMoveTP(1);
    lib.EnableMoveTPLimit(1);
    lib.SetMoveTPW(500);
    lib.SetMoveTPH(500);
    const HWND window = Make(100, 100, 500, 500);
    ASSERT_TRUE(rig::Activate(window));
    StartDrag(window, rig::CaptionPoint(window, 80), WM_MOVING);
    EXPECT_TRUE(WaitLayeredAt(window, kMoveLevel));
    EXPECT_EQ(lib.shared().MovingActive, 1);
    EndDrag();
    ASSERT_TRUE(Received(window, WM_EXITSIZEMOVE));
    EXPECT_TRUE(WaitOpaque(window));
    EXPECT_EQ(lib.shared().MovingActive, 0);
}

TEST_F(MoveSize, WindowOnePixelWiderThanTheLimitStaysOpaque) {
    lib.EnableMoveTP(1);
    lib.EnableMoveTPLimit(1);
    lib.SetMoveTPW(500);
    lib.SetMoveTPH(500);
    const HWND window = Make(100, 100, 501, 500);
    ASSERT_TRUE(rig::Activate(window));
    StartDrag(window, rig::CaptionPoint(window, 80), WM_MOVING);
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_EQ(lib.shared().MovingActive, 0);
    EndDrag();
    ASSERT_TRUE(Received(window, WM_EXITSIZEMOVE));
    EXPECT_FALSE(rig::IsLayered(window));
}

TEST_F(MoveSize, ResizingIgnoresTheMoveLimit) {
    lib.EnableSizingTP(1);
    lib.EnableMoveTPLimit(1);
    lib.SetMoveTPW(200);
    lib.SetMoveTPH(200);
    const HWND window = Make(100, 100, 500, 400);
    ASSERT_TRUE(rig::Activate(window));
    const POINT edge = rig::RightBorderPoint(window);
    ASSERT_EQ(rig::HitTest(window, edge), HTRIGHT);
    StartDrag(window, edge, WM_SIZING);
    EXPECT_TRUE(WaitLayeredAt(window, kSizeLevel));
    EndDrag();
    ASSERT_TRUE(Received(window, WM_EXITSIZEMOVE));
    EXPECT_TRUE(WaitOpaque(window));
    EXPECT_EQ(lib.shared().SizingActive, 0);
}

TEST_F(MoveSize, EscDuringAMoveMakesTheWindowOpaqueAtOnce) {
    lib.EnableMoveTP(1);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    StartDrag(window, rig::CaptionPoint(window, 80), WM_MOVING);
    ASSERT_TRUE(WaitLayeredAt(window, kMoveLevel));
    rig::KeyPress(VK_ESCAPE);
    // Opaque while the button is still down; the cancelled move ends the loop.
    EXPECT_TRUE(WaitOpaque(window));
    EXPECT_TRUE(Received(window, WM_EXITSIZEMOVE));
    EndDrag();
    EXPECT_TRUE(rig::WaitFor([&] { return lib.shared().MovingActive == 0; }));
}

TEST_F(MoveSize, WindowMadeTranslucentByShiftClickStaysLayeredAtTheMoveLevel) {
    lib.EnableMoveTP(1);
    lib.EnableSClickTP(1);
    lib.SetClaroviaValue(150);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(ClickHolding(window, rig::CaptionPoint(window, 60), {"shift"}));
    ASSERT_TRUE(WaitLayeredAt(window, 150));
    StartDrag(window, rig::CaptionPoint(window, 160), WM_MOVING);
    EXPECT_TRUE(WaitLayeredAt(window, kMoveLevel));
    EXPECT_EQ(lib.shared().MovingActive, 0);
    EndDrag();
    ASSERT_TRUE(Received(window, WM_EXITSIZEMOVE));
    EXPECT_EQ(rig::LayeredAlpha(window), kMoveLevel);
}

TEST_F(MoveSize, CaptionlessWindowIsNeverMadeTranslucent) {
    lib.EnableMoveTP(1);
    lib.EnableSizingTP(1);
    const HWND popup = Make(150, 150, 300, 200, WS_POPUP | WS_THICKFRAME | WS_VISIBLE);
    ASSERT_TRUE(rig::Activate(popup));
    const POINT edge = rig::RightBorderPoint(popup);
    ASSERT_EQ(rig::HitTest(popup, edge), HTRIGHT);
    StartDrag(popup, edge, WM_SIZING);
    EXPECT_FALSE(rig::IsLayered(popup));
    EndDrag();
    ASSERT_TRUE(Received(popup, WM_EXITSIZEMOVE));
    EXPECT_FALSE(rig::IsLayered(popup));
}

}  // namespace
