// Wheel stepping over the title bar of the foreground window, with real wheel input
// on windows of another process.
#include "hook_fixture.h"

namespace {

constexpr int kNotch = WHEEL_DELTA;

class WheelStepping : public HookTest {
protected:
    void SetUp() override {
        HookTest::SetUp();
        lib.EnableWheelTP(1);
        lib.SetWheelTPValue(5);
    }

    // Turns the wheel one notch at `pt` and waits until one of the helper's windows
    // has received the wheel message; returns the wParam it received.
    WPARAM Notch(POINT pt, int delta) {
        const size_t before = WheelMessages().size();
        rig::Wheel(pt.x, pt.y, delta);
        EXPECT_TRUE(rig::WaitFor([&] { return WheelMessages().size() > before; }));
        const auto all = WheelMessages();
        return all.size() > before ? static_cast<WPARAM>(all[before].wParam) : ~WPARAM{0};
    }

    std::vector<rig::LogEntry> WheelMessages() {
        std::vector<rig::LogEntry> out;
        for (const rig::LogEntry& e : host.Log())
            if (e.message == WM_MOUSEWHEEL && e.source == static_cast<uint32_t>(rig::Source::Window)) out.push_back(e);
        return out;
    }
};

TEST_F(WheelStepping, StepsExactlyAsTheWorkedExample) {
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 60);
    ASSERT_EQ(rig::HitTest(window, pt), HTCAPTION);

    // First notch toward the user: layered, still at full opacity; the application
    // receives a wheel message with no delta.
    EXPECT_EQ(Notch(pt, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(window), 255);
    for (int level = 250; level >= 10; level -= 5) {
        EXPECT_EQ(Notch(pt, -kNotch), 0u);
        ASSERT_EQ(rig::LayeredAlpha(window), level);
    }
    // 10 is the floor.
    EXPECT_EQ(Notch(pt, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(window), 10);

    for (int level = 15; level <= 255; level += 5) {
        EXPECT_EQ(Notch(pt, kNotch), 0u);
        ASSERT_EQ(rig::LayeredAlpha(window), level);
    }
    // Past 255: opaque again, and the notch reaches the application unchanged.
    const WPARAM last = Notch(pt, kNotch);
    EXPECT_EQ(static_cast<short>(HIWORD(last)), kNotch);
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_EQ(lib.shared().WheelActive, 0);
}

TEST_F(WheelStepping, WindowThatIsNotForegroundIsLeftAlone) {
    const HWND front = Make(50, 100, 300, 200);
    const HWND back = Make(500, 100, 300, 200);
    ASSERT_TRUE(rig::Activate(front));
    const WPARAM got = Notch(rig::CaptionPoint(back, 60), -kNotch);
    EXPECT_EQ(static_cast<short>(HIWORD(got)), -kNotch);
    EXPECT_FALSE(rig::IsLayered(back));
    EXPECT_FALSE(rig::IsLayered(front));
}

TEST_F(WheelStepping, ClientAreaScrollsAsUsual) {
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const WPARAM got = Notch(rig::ClientPoint(window), -kNotch);
    EXPECT_EQ(static_cast<short>(HIWORD(got)), -kNotch);
    EXPECT_FALSE(rig::IsLayered(window));
}

TEST_F(WheelStepping, FirstNotchOverAClickToggledWindowOnlyTakesUpItsLevel) {
    lib.EnableMClickTP(1);
    lib.SetClaroviaValue(150);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 60);
    rig::MiddleClick(pt.x, pt.y);
    ASSERT_TRUE(WaitLayeredAt(window, 150));
    EXPECT_EQ(Notch(pt, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(window), 150);
    EXPECT_EQ(Notch(pt, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(window), 145);
}

TEST_F(WheelStepping, ZeroStepStillConsumesEveryNotch) {
    lib.SetWheelTPValue(0);
    const HWND window = Make();
    ASSERT_TRUE(rig::Activate(window));
    const POINT pt = rig::CaptionPoint(window, 60);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Notch(pt, -kNotch), 0u);
        EXPECT_EQ(rig::LayeredAlpha(window), 255);
    }
    // The thread retrieved each notch with its delta; the window got it without.
    for (const rig::LogEntry& e : host.Retrieved(window, WM_MOUSEWHEEL))
        EXPECT_EQ(static_cast<short>(HIWORD(e.wParam)), -kNotch);
    EXPECT_EQ(host.Retrieved(window, WM_MOUSEWHEEL).size(), 3u);
    EXPECT_EQ(Notch(pt, kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(window), 255);
}

TEST_F(WheelStepping, TaskbarCountsWhereverThePointerIsOnIt) {
    // A captioned stand-in taskbar, topmost so that it is the one the library finds.
    rig::WindowSpec layout = rig::Layout(L"Shell_TrayWnd", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 500, 500, 150);
    layout.exStyle = WS_EX_TOPMOST;
    const HWND tray = host.Create(layout);
    ASSERT_NE(tray, nullptr);
    ASSERT_TRUE(rig::Activate(tray));
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), tray);
    const POINT inside = rig::ClientPoint(tray);
    ASSERT_EQ(rig::HitTest(tray, inside), HTCLIENT);
    EXPECT_EQ(Notch(inside, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(tray), 255);
    EXPECT_EQ(Notch(inside, -kNotch), 0u);
    EXPECT_EQ(rig::LayeredAlpha(tray), 250);
    host.Destroy(tray);
}

}  // namespace
