// Shading with the real gesture: a double-click on the left half of a window's title
// bar, seen by the library's hook in the window's own process and reported to the
// program, which rolls the window up to its title bar and back.
#include <algorithm>

#include "program_fixture.h"
#include "vitrel_api.h"

namespace {

class Shade : public ProgramTest {
protected:
    static int CaptionHeight() { return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME); }

    static bool DoubleClickTitle(HWND window) {
        if (!rig::Activate(window)) return false;
        const POINT pt = rig::CaptionPoint(window, 40);
        rig::DoubleClick(pt.x, pt.y);
        return true;
    }

    static bool WaitHeight(HWND window, int height) {
        return rig::WaitFor([&] { return rig::WindowHeight(window) == height; });
    }
};

TEST_F(Shade, TitleDoubleClickRollsTheWindowUpAndBack) {
    Start();
    const HWND window = Make(L"Shade me", 150, 120, 400, 300);
    const RECT before = rig::WindowRect(window);

    ASSERT_TRUE(DoubleClickTitle(window));
    ASSERT_TRUE(WaitHeight(window, CaptionHeight())) << "height " << rig::WindowHeight(window);
    const RECT rolled = rig::WindowRect(window);
    EXPECT_EQ(rolled.left, before.left);
    EXPECT_EQ(rolled.top, before.top);
    EXPECT_EQ(rolled.right, before.right);
    EXPECT_FALSE(IsZoomed(window));

    ASSERT_TRUE(DoubleClickTitle(window));
    ASSERT_TRUE(WaitHeight(window, 300)) << "height " << rig::WindowHeight(window);
    const RECT back = rig::WindowRect(window);
    EXPECT_EQ(back.left, before.left);
    EXPECT_EQ(back.top, before.top);
    EXPECT_EQ(back.right, before.right);
}

TEST_F(Shade, WindowAtTitleBarHeightUnrollsToTheDefaultHeightThenRollsUpAgain) {
    rig::settings::SetDword(L"DefaultHeight", 333);
    Start();
    const HWND window = Make(L"Thin", 150, 120, 400, 300);
    // Rolled up by someone else: exactly the title bar's height.
    SetWindowPos(window, nullptr, 0, 0, 400, CaptionHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
    ASSERT_TRUE(WaitHeight(window, CaptionHeight()));

    ASSERT_TRUE(DoubleClickTitle(window));
    ASSERT_TRUE(WaitHeight(window, 333)) << "height " << rig::WindowHeight(window);

    // From there on it is an ordinary window: the next double-click rolls it up.
    ASSERT_TRUE(DoubleClickTitle(window));
    EXPECT_TRUE(WaitHeight(window, CaptionHeight())) << "height " << rig::WindowHeight(window);

    Exit();
    // The hand-edited value survives the exit.
    EXPECT_EQ(rig::settings::Dword(L"DefaultHeight"), std::optional<DWORD>(333));
}

TEST_F(Shade, ClassFilterWithGapsSparesExactlyItsClasses) {
    rig::settings::SetString(L"3", L"FilteredThree", rig::settings::kClassFilter);
    rig::settings::SetString(L"40", L"FilteredForty", rig::settings::kClassFilter);
    rig::settings::SetString(L"5", L"", rig::settings::kClassFilter);
    Start();
    const HWND three = Make(L"three", 60, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"FilteredThree");
    const HWND forty = Make(L"forty", 400, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"FilteredForty");
    const HWND plain = Make(L"plain", 230, 380, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"ShadeMe");

    ASSERT_TRUE(DoubleClickTitle(three));
    ASSERT_TRUE(DoubleClickTitle(forty));
    ASSERT_TRUE(DoubleClickTitle(plain));
    ASSERT_TRUE(WaitHeight(plain, CaptionHeight()));
    // The reports come from one thread and are handled in order: the two filtered
    // windows have had theirs.
    EXPECT_EQ(rig::WindowHeight(three), 200);
    EXPECT_EQ(rig::WindowHeight(forty), 200);

    Exit();
    // The filter is read, never written.
    std::vector<std::wstring> names = rig::settings::ValueNames(rig::settings::kClassFilter);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"3", L"40", L"5"}));
    EXPECT_EQ(rig::settings::String(L"3", rig::settings::kClassFilter), std::optional<std::wstring>(L"FilteredThree"));
    EXPECT_EQ(rig::settings::String(L"40", rig::settings::kClassFilter), std::optional<std::wstring>(L"FilteredForty"));
}

TEST_F(Shade, ExitUnrollsShadedWindowsAndForgetsClosedOnes) {
    rig::Program& p = Start();
    const HWND a = Make(L"A", 60, 100, 300, 200);
    const HWND b = Make(L"B", 400, 100, 300, 250);
    const HWND c = Make(L"C", 230, 380, 300, 220);

    ASSERT_TRUE(DoubleClickTitle(a));
    ASSERT_TRUE(WaitHeight(a, CaptionHeight()));
    ASSERT_TRUE(DoubleClickTitle(b));
    ASSERT_TRUE(WaitHeight(b, CaptionHeight()));

    // B closes while shaded, and a report about it arrives late.
    ASSERT_TRUE(host.Destroy(b));
    PostMessageW(p.window(), WM_SHADE_DBLCLK, 0, reinterpret_cast<LPARAM>(b));

    // The program carries on as before.
    ASSERT_TRUE(DoubleClickTitle(c));
    ASSERT_TRUE(WaitHeight(c, CaptionHeight()));
    ASSERT_TRUE(DoubleClickTitle(c));
    ASSERT_TRUE(WaitHeight(c, 220));
    EXPECT_FALSE(IsWindow(b));

    Exit();
    EXPECT_TRUE(WaitHeight(a, 200)) << "height " << rig::WindowHeight(a);
    EXPECT_EQ(rig::WindowHeight(c), 220);
}

}  // namespace

namespace {

TEST_F(Shade, ExitIsNotHeldByAShadedWindowThatHangs) {
    Start();
    const HWND window = Make(L"Hangs", 150, 120, 400, 300);
    ASSERT_TRUE(DoubleClickTitle(window));
    ASSERT_TRUE(WaitHeight(window, CaptionHeight()));
    // Its thread stops answering; the program ends all the same, at once.
    ASSERT_TRUE(host.MakeBusy(5000));
    const ULONGLONG start = GetTickCount64();
    Exit();
    EXPECT_LT(GetTickCount64() - start, 3000u) << "the end waited on the hung window";
    // The height comes back once the window's thread takes its messages again.
    EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) == 300; }, 12000));
}

}  // namespace

namespace {

// Rolled up, a window shows its whole title bar and frame and no line of its client
// area, whatever its frame: sizing, dialog, or a tool window's small caption.
TEST_F(Shade, RolledUpWindowsShowTheirTitleBarAndNothingMore) {
    Start();
    struct Case {
        const wchar_t* what;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {{L"Sizing frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0},
                          {L"Dialog frame", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0},
                          {L"Tool window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, WS_EX_TOOLWINDOW}};
    int x = 60;
    for (const Case& c : cases) {
        rig::WindowSpec layout = rig::Layout(L"RigWindow", c.style, x, 150, 260, 220);
        layout.exStyle = c.exStyle;
        layout.title = c.what;
        const HWND window = host.Create(layout);
        ASSERT_NE(window, nullptr);
        x += 300;
        PostMessageW(program->window(), WM_SHADE_DBLCLK, 0, reinterpret_cast<LPARAM>(window));
        EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) < 100; })) << c.what;
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.bottom, 0) << c.what << ": " << rig::WindowHeight(window) << " pixels high";
    }
}

TEST_F(Shade, AtHigherDpiAWindowRollsUpToItsWholeTitleBar) {
    // The program takes the screen's DPI; a window that does not may be scaled by the
    // system. Either way it ends with exactly its caption and frame.
    for (const DWORD dpi : {120u, 144u}) {
        SCOPED_TRACE(dpi);
        const rig::ScreenDpi screen(dpi);
        rig::HostProcess scaled;
        ASSERT_TRUE(scaled.ok());
        rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 150, 300, 240);
        const HWND window = scaled.Create(layout);
        Start();
        PostMessageW(program->window(), WM_SHADE_DBLCLK, 0, reinterpret_cast<LPARAM>(window));
        EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) < 150; }));
        RECT frame = {0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE, 0);
        EXPECT_EQ(rig::WindowHeight(window), frame.bottom - frame.top);
        Exit();
    }
}

}  // namespace
