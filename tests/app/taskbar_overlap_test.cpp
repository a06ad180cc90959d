// Windows whose title bar lies under a top-docked taskbar: moved just below it at the
// end of a real drag and at every apply, or onto the screen when the taskbar hides
// itself; never windows that are maximised, minimised, the shell's, or filtered. The
// taskbar is the fake shell's, at the top of the screen; what the shell says about it
// (edge, rectangle, state) is steered inside the program through the probe.
#include <windows.h>
#include <shellapi.h>

#include "shell_fixture.h"

namespace {

constexpr RECT kTopBar = {0, 0, 1024, 30};

class TaskbarOverlap : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        rig::settings::SetDword(L"EnableOverlapTP", 1);
        taskbar = shell.CreateTaskbar(kTopBar.left, kTopBar.top, kTopBar.right, kTopBar.bottom, L"スタート");
        ASSERT_NE(taskbar, nullptr);
        ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar) << "the program would find another taskbar";
    }

    rig::Program& StartAtTop(UINT state) {
        rig::Program& p = StartProbed();
        EXPECT_TRUE(probe.SteerTaskbar(p.window(), ABE_TOP, kTopBar, state));
        return p;
    }

    HWND At(const wchar_t* title, int x, int y, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
            const wchar_t* cls = L"RigWindow") {
        return Make(title, x, y, 240, 160, style, cls);
    }

    static POINT TopLeft(HWND window) {
        const RECT rc = rig::WindowRect(window);
        return POINT{rc.left, rc.top};
    }
    static SIZE Size(HWND window) {
        const RECT rc = rig::WindowRect(window);
        return SIZE{rc.right - rc.left, rc.bottom - rc.top};
    }
    // Whether `window` lies above `other` in the z-order.
    static bool Above(HWND window, HWND other) {
        for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
            if (w == window) return true;
            if (w == other) return false;
        }
        return false;
    }
    // Waits until the window's top edge is at `top`.
    static bool TopBecomes(HWND window, int top) {
        return rig::WaitFor([&] { return TopLeft(window).y == top; }, 3000);
    }

    HWND taskbar = nullptr;
};

TEST_F(TaskbarOverlap, ApplyMovesExactlyTheWindowsUnderAnAlwaysVisibleTopTaskbar) {
    rig::settings::SetString(L"0", L"StaysPut", rig::settings::kClassFilter);
    rig::settings::SetString(L"1", L"movable", rig::settings::kClassFilter);
    const HWND under = At(L"Under", 100, 10);
    const HWND cover = At(L"Cover", 150, 60);  // made later: on top of Under
    const HWND clear = At(L"Clear", 420, 200);
    const HWND maximised = At(L"Maximised", 0, 0, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE);
    const HWND minimised = At(L"Minimised", 300, 10, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MINIMIZE);
    const HWND worker = At(L"Shell worker", 520, 5, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"WorkerW");
    const HWND view = At(L"Shell view", 700, 5, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"SHELLDLL_DefView");
    const HWND filtered = At(L"Filtered", 250, 15, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"StaysPut");
    // (Class names are registered without regard to case: this one is not "movable".)
    const HWND almost = At(L"Almost filtered", 600, 20, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"Movable");
    ASSERT_TRUE(IsZoomed(maximised) && IsIconic(minimised));
    ASSERT_TRUE(Above(cover, under));
    struct Kept {
        HWND window;
        POINT at;
    };
    const Kept kept[] = {{clear, TopLeft(clear)},         {maximised, TopLeft(maximised)},
                         {minimised, TopLeft(minimised)}, {worker, TopLeft(worker)},
                         {view, TopLeft(view)},           {filtered, TopLeft(filtered)}};
    const SIZE size = Size(under);

    StartAtTop(ABS_ALWAYSONTOP);
    Apply();
    // Just below the taskbar, left edge and size kept, and raised.
    EXPECT_TRUE(TopBecomes(under, kTopBar.bottom)) << TopLeft(under).y;
    EXPECT_EQ(TopLeft(under).x, 100);
    EXPECT_EQ(Size(under).cx, size.cx);
    EXPECT_EQ(Size(under).cy, size.cy);
    EXPECT_TRUE(Above(under, cover));
    // A class differing from a filtered one only in case is moved.
    EXPECT_TRUE(TopBecomes(almost, kTopBar.bottom)) << TopLeft(almost).y;
    for (const Kept& k : kept) {
        EXPECT_EQ(TopLeft(k.window).x, k.at.x) << rig::WindowText(k.window).c_str();
        EXPECT_EQ(TopLeft(k.window).y, k.at.y) << rig::WindowText(k.window).c_str();
    }
}

TEST_F(TaskbarOverlap, RealDragThatEndsUnderTheTaskbarEndsBelowIt) {
    const HWND window = At(L"Dragged", 300, 200);
    StartAtTop(ABS_ALWAYSONTOP);
    ASSERT_EQ(TopLeft(window).y, 200);

    // Drag the title bar up until the window's top is under the taskbar.
    const POINT from = rig::CaptionPoint(window);
    rig::LeftDown(from.x, from.y);
    const POINT to = {from.x, from.y - 188};
    int step = 0;
    const bool moved = rig::WaitFor([&] {
        if (step == 20 && TopLeft(window).y < kTopBar.bottom) return true;
        step = step < 20 ? step + 1 : 20;
        rig::MoveMouse(from.x, from.y + (to.y - from.y) * step / 20);
        return false;
    });
    rig::LeftUp(to.x, to.y);
    ASSERT_TRUE(moved) << "the drag did not take the window there: top " << TopLeft(window).y;
    EXPECT_TRUE(TopBecomes(window, kTopBar.bottom)) << TopLeft(window).y;
    EXPECT_EQ(TopLeft(window).x, 300);
    EXPECT_EQ(Size(window).cx, 240);
    EXPECT_EQ(Size(window).cy, 160);
}

TEST_F(TaskbarOverlap, AutoHideMovesOnlyWindowsAboveTheScreenAndOtherEdgesMoveNothing) {
    const HWND above = At(L"Above", 100, -40);
    const HWND under = At(L"Under", 420, 10);
    StartAtTop(ABS_AUTOHIDE | ABS_ALWAYSONTOP);
    Apply();
    EXPECT_TRUE(TopBecomes(above, 0)) << TopLeft(above).y;
    EXPECT_EQ(TopLeft(above).x, 100);
    EXPECT_EQ(TopLeft(under).y, 10);

    // Taskbar at another edge: neither an activation nor an apply moves a window.
    const RECT bars[] = {{0, 738, 1024, 768}, {0, 0, 60, 768}, {964, 0, 1024, 768}};
    const UINT edges[] = {ABE_BOTTOM, ABE_LEFT, ABE_RIGHT};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(probe.SteerTaskbar(program->window(), edges[i], bars[i], ABS_ALWAYSONTOP));
        const HWND aboveAgain = At(L"Above again", 100, -60);
        ASSERT_TRUE(rig::Activate(aboveAgain));
        Apply();
        EXPECT_EQ(TopLeft(aboveAgain).y, -60) << "edge " << edges[i];
        EXPECT_EQ(TopLeft(under).y, 10) << "edge " << edges[i];
        host.Destroy(aboveAgain);
    }
    EXPECT_GT(probe.appBarQueries(), 0);
}

TEST_F(TaskbarOverlap, TaskbarWithoutAlwaysOnTopCountsAsVisibleFromWindows7On) {
    // Windows 7 and later no longer report ABS_ALWAYSONTOP: a taskbar that does not
    // hide itself is always in view there. (Whatever the world's Windows is.)
    {
        const rig::WindowsVersionFor seven(rig::kProgramExe, L"win7");
        const HWND under = At(L"Under", 100, 10);
        StartAtTop(0);
        Apply();
        EXPECT_TRUE(TopBecomes(under, kTopBar.bottom)) << TopLeft(under).y;
        Exit();
    }

    // On older Windows the state is taken as it stands: only a window above the screen moves.
    const rig::WindowsVersionFor xp(rig::kProgramExe, L"winxp");
    const HWND again = At(L"Under again", 420, 10);
    const HWND above = At(L"Above", 100, -40);
    StartAtTop(0);
    Apply();
    EXPECT_TRUE(TopBecomes(above, 0)) << TopLeft(above).y;
    EXPECT_EQ(TopLeft(again).y, 10);
}

TEST_F(TaskbarOverlap, CorrectionOffMovesNothingButAnActivationRepaintsUnderATranslucentTaskbar) {
    rig::settings::SetDword(L"EnableOverlapTP", 0);
    const HWND under = At(L"Under", 100, 10);
    const HWND other = At(L"Other", 420, 300);
    StartAtTop(ABS_ALWAYSONTOP);
    ASSERT_TRUE(probe.RecordRedraws(program->window()));
    Apply();
    ASSERT_TRUE(rig::Activate(other));
    ASSERT_TRUE(rig::Activate(under));
    const auto underTaskbar = [&] {
        size_t n = 0;
        for (const rig::ProbeRedraw& r : probe.Redraws())
            if (r.window == reinterpret_cast<uintptr_t>(GetDesktopWindow()) && r.hasRect &&
                r.left == kTopBar.left && r.top == kTopBar.top && r.right == kTopBar.right &&
                r.bottom == kTopBar.bottom && r.flags == 0x485)
                ++n;
        return n;
    };
    EXPECT_TRUE(rig::WaitFor([&] { return underTaskbar() >= 2; })) << underTaskbar();
    Settle();
    EXPECT_EQ(TopLeft(under).y, 10);

    // With the taskbar opaque an activation repaints nothing.
    Exit();
    rig::settings::SetDword(L"EnableTaskbarTP", 0);
    StartAtTop(ABS_ALWAYSONTOP);
    ASSERT_TRUE(probe.RecordRedraws(program->window()));
    ASSERT_TRUE(rig::Activate(other));
    ASSERT_TRUE(rig::Activate(under));
    Settle();
    EXPECT_EQ(underTaskbar(), 0u);
    EXPECT_EQ(TopLeft(under).y, 10);
}

}  // namespace
