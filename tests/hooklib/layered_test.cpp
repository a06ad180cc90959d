// Making windows of another process translucent and opaque again, as a user sees it:
// the window's layered style and alpha, and what its process and its neighbours
// receive.
#include <gtest/gtest.h>

#include <algorithm>

#include "import_spy.h"
#include "rig.h"
#include "vitrel_library.h"

namespace {

using rig::Expected;
using rig::HostProcess;
using rig::VitrelLibrary;
using rig::WindowSpec;

class Layered : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.ok());
        ASSERT_TRUE(host.ok());
    }

    HWND Make(const wchar_t* className, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, int x = 100, int y = 100,
              int w = 400, int h = 300, uint32_t flags = 0) {
        WindowSpec layout = rig::Layout(className, style, x, y, w, h);
        layout.flags = flags;
        const HWND window = host.Create(layout);
        EXPECT_NE(window, nullptr);
        return window;
    }

    bool Painted(HWND window) {
        return !host.Log(window, WM_PAINT).empty() || !host.Log(window, WM_NCPAINT).empty() ||
               !host.Log(window, WM_ERASEBKGND).empty();
    }

    VitrelLibrary lib;
    HostProcess host;
};

TEST_F(Layered, OpaqueWindowBecomesLayeredAtTheLevel) {
    const HWND window = Make(L"RigWindow");
    host.ClearLog();
    EXPECT_EQ(lib.SetTransparent(window, 128), 1);
    EXPECT_TRUE(rig::IsLayered(window));
    EXPECT_EQ(rig::LayeredAlpha(window), 128);
    EXPECT_EQ(lib.IsTransparent(window), 1);

    // Redraw off, the style change, redraw on: in this order. (The index as the window
    // gets it in its wParam: zero-extended in a 32-bit window.)
    constexpr uint64_t kExStyle = static_cast<WPARAM>(GWL_EXSTYLE);
    std::string why;
    EXPECT_TRUE(rig::ContainsInOrder(host.Log(window),
                                     {Expected{WM_SETREDRAW, 0, 0}, Expected{WM_STYLECHANGING, kExStyle},
                                      Expected{WM_STYLECHANGED, kExStyle}, Expected{WM_SETREDRAW, 1, 1}},
                                     &why))
        << why;
}

TEST_F(Layered, LayeredWindowOnlyGetsTheNewAlpha) {
    const HWND window = Make(L"RigWindow");
    ASSERT_EQ(lib.SetTransparent(window, 128), 1);
    host.ClearLog();
    EXPECT_EQ(lib.SetTransparent(window, 60), 0);
    EXPECT_EQ(rig::LayeredAlpha(window), 60);
    EXPECT_TRUE(host.Log(window, WM_SETREDRAW).empty());
    EXPECT_TRUE(host.Log(window, WM_STYLECHANGED).empty());
}

TEST_F(Layered, WindowLayeredBySomeoneElseCountsAsTranslucent) {
    const HWND window = Make(L"RigWindow");
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, 0, 200, LWA_ALPHA);
    EXPECT_EQ(lib.IsTransparent(window), 1);
    EXPECT_EQ(lib.SetTransparent(window, 90), 0);
    EXPECT_EQ(rig::LayeredAlpha(window), 90);
}

TEST_F(Layered, FullLevelMakesTheWindowLayeredButOpaque) {
    const HWND window = Make(L"RigWindow");
    EXPECT_EQ(lib.SetTransparent(window, 255), 1);
    EXPECT_EQ(lib.IsTransparent(window), 1);
    EXPECT_EQ(rig::LayeredAlpha(window), 255);
}

TEST_F(Layered, HiddenWindowBecomesLayeredAndStaysHidden) {
    const HWND window = Make(L"RigWindow", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(lib.SetTransparent(window, 100), 1);
    EXPECT_EQ(rig::LayeredAlpha(window), 100);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(Layered, OnlyTheLowByteOfTheLevelCounts) {
    const HWND window = Make(L"RigWindow");
    EXPECT_EQ(lib.SetTransparent(window, 0x180), 1);
    EXPECT_EQ(rig::LayeredAlpha(window), 0x80);
}

TEST_F(Layered, HiddenXpStartMenuIsLeftAlone) {
    const HWND menu = Make(L"DV2ControlHost", WS_POPUP);
    host.ClearLog();
    EXPECT_EQ(lib.SetTransparent(menu, 100), 1);
    EXPECT_FALSE(rig::IsLayered(menu));
    EXPECT_TRUE(host.Log(menu, WM_SETREDRAW).empty());

    // Once shown it is made translucent like any window.
    ShowWindow(menu, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(rig::WaitFor([&] { return IsWindowVisible(menu) != FALSE; }));
    EXPECT_EQ(lib.SetTransparent(menu, 100), 1);
    EXPECT_EQ(rig::LayeredAlpha(menu), 100);
}

// The desktop behind a window that turns layered is redrawn, except for the start
// menus. Under Wine a redraw of the desktop window does not reach the top-level
// windows at all, so the test watches the library's calls instead.
struct RedrawCall {
    HWND window;
    bool hasRect;
    RECT rect;
    UINT flags;
};
std::vector<RedrawCall> g_redraws;
std::vector<HWND> g_invalidated;

BOOL WINAPI SpyRedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
    g_redraws.push_back({window, rect != nullptr, rect ? *rect : RECT{}, flags});
    return RedrawWindow(window, rect, region, flags);
}

BOOL WINAPI SpyInvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    if (!rect && erase) g_invalidated.push_back(window);
    return InvalidateRect(window, rect, erase);
}

size_t DesktopRedraws(const RECT& rect) {
    size_t n = 0;
    for (const RedrawCall& c : g_redraws)
        if (c.window == GetDesktopWindow() && c.hasRect && EqualRect(&c.rect, &rect) &&
            c.flags == (RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME))
            ++n;
    return n;
}

TEST_F(Layered, DesktopIsRedrawnBehindVisibleOrdinaryWindowsButNotBehindStartMenus) {
    rig::ImportSpy spy(lib.module(), "user32.dll", "RedrawWindow", reinterpret_cast<void*>(SpyRedrawWindow));
    ASSERT_TRUE(spy.ok());
    struct Case {
        const wchar_t* cls;
        DWORD style;
        size_t redraws;
    };
    for (const Case& c : {Case{L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1},
                          Case{L"RigWindow", WS_OVERLAPPEDWINDOW, 0},
                          Case{L"BaseBar", WS_POPUP | WS_BORDER | WS_VISIBLE, 0},
                          Case{L"DV2ControlHost", WS_POPUP | WS_BORDER | WS_VISIBLE, 0}}) {
        SCOPED_TRACE(testing::Message() << "class " << (c.cls[0] == L'R' ? "RigWindow" : c.cls[0] == L'B' ? "BaseBar" : "DV2ControlHost") << " style " << std::hex << c.style);
        const HWND target = Make(c.cls, c.style, 120, 130, 400, 300);
        RECT before;
        GetWindowRect(target, &before);
        g_redraws.clear();
        EXPECT_EQ(lib.SetTransparent(target, 150), 1);
        EXPECT_TRUE(rig::IsLayered(target));
        EXPECT_EQ(DesktopRedraws(before), c.redraws);
        host.Destroy(target);
    }
}

// The taskbar is invalidated as a whole only while taskbar translucency is on. The
// fake taskbar moves away from its old rectangle as soon as redraw is switched off,
// so the desktop redraw of that rectangle no longer reaches it.
TEST_F(Layered, TaskbarIsInvalidatedOnlyWhileTaskbarTranslucencyIsOn) {
    HostProcess shell(L"rig_shell.exe");
    ASSERT_TRUE(shell.ok());
    for (const int taskbarTP : {0, 1}) {
        SCOPED_TRACE(taskbarTP);
        WindowSpec layout = rig::Layout(L"Shell_TrayWnd", WS_POPUP | WS_VISIBLE, 0, 600, 200, 40);
        layout.flags = rig::kFleeOnSetRedraw;
        const HWND tray = shell.Create(layout);
        ASSERT_NE(tray, nullptr);
        shell.Flush();
        shell.ClearLog();
        lib.shared().TaskbarTP = taskbarTP;
        g_invalidated.clear();
        {
            rig::ImportSpy spy(lib.module(), "user32.dll", "InvalidateRect",
                               reinterpret_cast<void*>(SpyInvalidateRect));
            ASSERT_TRUE(spy.ok());
            EXPECT_EQ(lib.SetTransparent(tray, 120), 1);
        }
        EXPECT_EQ(std::count(g_invalidated.begin(), g_invalidated.end(), tray), taskbarTP);
        // And the taskbar does repaint, although it left the redrawn rectangle.
        shell.Flush();
        EXPECT_EQ(!shell.Log(tray, WM_PAINT).empty(), taskbarTP == 1);
        lib.shared().TaskbarTP = 0;
        shell.Destroy(tray);
    }
}

TEST_F(Layered, RemoveTransparentMakesLayeredWindowsOpaqueAndLeavesOpaqueOnesAlone) {
    const HWND window = Make(L"RigWindow");
    host.ClearLog();
    lib.RemoveTransparent(window);
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_TRUE(host.Log(window, WM_STYLECHANGING).empty());
    EXPECT_TRUE(host.Log(window, WM_STYLECHANGED).empty());

    ASSERT_EQ(lib.SetTransparent(window, 100), 1);
    lib.RemoveTransparent(window);
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_EQ(lib.IsTransparent(window), 0);
}

TEST_F(Layered, WindowWhoseThreadIsBusyAfterTheStyleChangeGetsItsRedrawBack) {
    // Redraw goes off, the style changes, then the window's thread takes no message for
    // two seconds: longer than the switch back may wait. It must still get redraw back.
    const HWND window = Make(L"BusyWhenLayered", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                             rig::kBusyWhenLayered);
    EXPECT_EQ(lib.SetTransparent(window, 150), 1);
    EXPECT_EQ(rig::LayeredAlpha(window), 150);
    // WM_SETREDRAW(FALSE) clears WS_VISIBLE; only the TRUE brings it back.
    EXPECT_TRUE(rig::WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 6000)) << "redraw stayed off";
    const std::vector<rig::LogEntry> redraws = host.Log(window, WM_SETREDRAW);
    ASSERT_FALSE(redraws.empty());
    EXPECT_EQ(redraws.back().wParam, 1u);
}

TEST_F(Layered, WindowThatTakesTheRedrawSwitchLateGetsItsRedrawBack) {
    // The window takes redraw-off but stays inside its handler past the bound, and only
    // then switches redraw off. Whatever the caller decided meanwhile, the window must
    // end visible and painting, with redraw on as the last word.
    const HWND window = Make(L"RigWindow");
    ASSERT_TRUE(host.SlowDown(window, WM_SETREDRAW, 1500, FALSE));
    host.ClearLog();
    lib.SetTransparent(window, 150);
    EXPECT_TRUE(rig::WaitFor([&] { return host.Log(window, WM_SETREDRAW).size() >= 2; }, 6000));
    EXPECT_TRUE(rig::WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 6000)) << "redraw stayed off";
    const std::vector<rig::LogEntry> redraws = host.Log(window, WM_SETREDRAW);
    ASSERT_FALSE(redraws.empty());
    EXPECT_EQ(redraws.front().wParam, 0u);
    EXPECT_EQ(redraws.back().wParam, 1u);
    host.ClearLog();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(rig::WaitFor([&] { return Painted(window); })) << "the window no longer paints";
}

TEST_F(Layered, DeadAndNullHandlesAreHarmless) {
    const HWND window = Make(L"RigWindow");
    ASSERT_TRUE(host.Destroy(window));
    ASSERT_FALSE(IsWindow(window));
    for (const HWND dead : {window, static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x7ffe1234)}) {
        EXPECT_EQ(lib.SetTransparent(dead, 100), 0);
        EXPECT_EQ(lib.IsTransparent(dead), 0);
        lib.RemoveTransparent(dead);
    }
}

}  // namespace
