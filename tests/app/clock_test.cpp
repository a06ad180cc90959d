// The title-bar clock: once a second the foreground window's title gets two blanks and
// the time behind it; the window's own title comes back when the clock moves on or the
// program ends. Windows of other processes (the window host) and of this test.
#include <time.h>

#include <cwchar>

#include "program_fixture.h"

namespace {

std::wstring Format(const wchar_t* format, __time64_t when) {
    struct tm local = {};
    if (_localtime64_s(&local, &when) != 0) return {};
    wchar_t text[128];
    const size_t n = wcsftime(text, 128, format, &local);
    return std::wstring(text, n);
}

class Clock : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        rig::settings::SetDword(L"ShowClock", 1);
    }

    // The title the clock gives `base` with the year-only format the tests use.
    std::wstring WithYear(const std::wstring& base) const { return base + L"  " + year; }

    static bool WaitTitle(HWND window, const std::wstring& title, DWORD timeoutMs = 4000) {
        return rig::WaitFor([&] { return rig::WindowText(window) == title; }, timeoutMs);
    }

    static bool WaitTitleChange(HWND window, const std::wstring& from, DWORD timeoutMs = 4000) {
        return rig::WaitFor([&] { return rig::WindowText(window) != from; }, timeoutMs);
    }

    // Whether `title` is `base`, two blanks and the local time of a second between
    // `from` and `to` (one second of slack either side) in the default format.
    static bool CarriesTime(const std::wstring& title, const std::wstring& base, __time64_t from, __time64_t to) {
        for (__time64_t t = from - 1; t <= to + 1; ++t)
            if (title == base + L"  " + Format(L"%y/%m/%d %H:%M:%S", t)) return true;
        return false;
    }

    const std::wstring year = L"[" + Format(L"%Y", _time64(nullptr)) + L"]";
};

TEST_F(Clock, ForegroundTitleShowsTheTimeUntilTheClockMovesOnOrEnds) {
    Start();
    const HWND a = Make(L"Clock A", 60, 100, 350, 250);
    const HWND b = Make(L"Clock B", 450, 100, 350, 250);

    const __time64_t from = _time64(nullptr);
    ASSERT_TRUE(rig::Activate(a));
    ASSERT_TRUE(WaitTitleChange(a, L"Clock A"));
    EXPECT_TRUE(CarriesTime(rig::WindowText(a), L"Clock A", from, _time64(nullptr))) << rig::WindowText(a).c_str();

    ASSERT_TRUE(rig::Activate(b));
    ASSERT_TRUE(WaitTitleChange(b, L"Clock B"));
    EXPECT_TRUE(CarriesTime(rig::WindowText(b), L"Clock B", from, _time64(nullptr))) << rig::WindowText(b).c_str();
    EXPECT_TRUE(WaitTitle(a, L"Clock A")) << rig::WindowText(a).c_str();

    Exit();
    EXPECT_TRUE(WaitTitle(b, L"Clock B")) << rig::WindowText(b).c_str();
    EXPECT_EQ(rig::WindowText(a), L"Clock A");
}

TEST_F(Clock, WindowThatRetitlesItselfKeepsItsNewTitle) {
    rig::settings::SetString(L"TimeFormat", L"[%Y]");
    Start();
    const HWND a = Make(L"Own title", 60, 100, 350, 250);
    const HWND b = Make(L"Other", 450, 100, 350, 250);
    // No caption bit at all (WS_BORDER alone is one of the two).
    const HWND bare = Make(L"Bare", 300, 420, 200, 120, WS_POPUP | WS_VISIBLE);

    ASSERT_TRUE(rig::Activate(a));
    ASSERT_TRUE(WaitTitle(a, WithYear(L"Own title"))) << rig::WindowText(a).c_str();
    // Retitled in front: the clock follows the new title.
    ASSERT_TRUE(host.SetText(a, L"Renamed"));
    EXPECT_TRUE(WaitTitle(a, WithYear(L"Renamed"))) << rig::WindowText(a).c_str();

    // Retitled while a window without a clock is in front, then another window takes
    // the clock: the new title stays.
    ASSERT_TRUE(rig::Activate(bare));
    ASSERT_TRUE(WaitTitle(a, L"Renamed")) << rig::WindowText(a).c_str();
    ASSERT_TRUE(host.SetText(a, L"Renamed again"));
    ASSERT_TRUE(rig::Activate(b));
    ASSERT_TRUE(WaitTitle(b, WithYear(L"Other"))) << rig::WindowText(b).c_str();
    EXPECT_EQ(rig::WindowText(a), L"Renamed again");

    ASSERT_TRUE(rig::Activate(a));
    ASSERT_TRUE(WaitTitle(a, WithYear(L"Renamed again"))) << rig::WindowText(a).c_str();
    ASSERT_TRUE(host.SetText(a, L"Final"));
    ASSERT_TRUE(WaitTitle(a, WithYear(L"Final"))) << rig::WindowText(a).c_str();
    Exit();
    EXPECT_TRUE(WaitTitle(a, L"Final")) << rig::WindowText(a).c_str();
    EXPECT_EQ(rig::WindowText(b), L"Other");
}

TEST_F(Clock, CaptionlessShellAndFilteredWindowsGetNoClock) {
    rig::settings::SetString(L"TimeFormat", L"[%Y]");
    rig::settings::SetString(L"0", L"NoClockHere", rig::settings::kClassFilter);
    Start();
    const HWND anchor = Make(L"Anchor", 60, 100, 350, 250);
    struct Case {
        const wchar_t* what;
        HWND window;
    };
    const Case cases[] = {
        {L"Filtered", Make(L"Filtered", 450, 100, 350, 250, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"NoClockHere")},
        {L"Shell", Make(L"Shell", 450, 380, 350, 250, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"WorkerW")},
        {L"Bare", Make(L"Bare", 60, 420, 250, 150, WS_POPUP | WS_VISIBLE)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(rig::Activate(anchor));
        ASSERT_TRUE(WaitTitle(anchor, WithYear(L"Anchor"))) << rig::WindowText(anchor).c_str();
        ASSERT_TRUE(rig::Activate(c.window));
        // The clock has left the anchor: a tick has seen this window in front.
        ASSERT_TRUE(WaitTitle(anchor, L"Anchor")) << c.what;
        EXPECT_EQ(rig::WindowText(c.window), c.what);
    }
}

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(Clock, LongTitlesAndClassNamesStayWithinTheTitleLimit) {
    rig::settings::SetString(L"TimeFormat", L"[%Y]");
    rig::settings::SetDword(L"ShowClockClassName", 1);
    Start();
    const HWND anchor = Make(L"Anchor", 60, 100, 350, 250);
    const std::wstring full(259, L'T');
    const HWND longTitle = Make(full.c_str(), 450, 100, 350, 250);
    ASSERT_EQ(rig::WindowText(longTitle), full);

    ASSERT_TRUE(rig::Activate(anchor));
    ASSERT_TRUE(WaitTitle(anchor, WithYear(L"Anchor") + L" [RigWindow]")) << rig::WindowText(anchor).c_str();
    // A title that already fills the buffer has no room for the clock.
    ASSERT_TRUE(rig::Activate(longTitle));
    ASSERT_TRUE(WaitTitle(anchor, L"Anchor"));
    EXPECT_EQ(rig::WindowText(longTitle), full);

    // A class name as long as the system takes (a window of this test). Windows
    // documents 256 characters; Wine's atoms stop at 255 and refuse longer names.
    const std::wstring className(255, L'C');
    WNDCLASSW wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    ASSERT_NE(RegisterClassW(&wc), 0) << GetLastError();
    const HWND longClass = CreateWindowExW(0, className.c_str(), L"Long class", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 250,
                                           300, 350, 250, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(longClass, nullptr);
    ASSERT_TRUE(rig::Activate(longClass));
    const std::wstring expected = (WithYear(L"Long class") + L" [" + className + L"]").substr(0, 259);
    EXPECT_TRUE(WaitTitle(longClass, expected)) << rig::WindowText(longClass).size() << " characters";
    EXPECT_EQ(GetWindowTextLengthW(longClass), 259);

    Exit();
    EXPECT_EQ(rig::WindowText(longClass), L"Long class");
    EXPECT_EQ(rig::WindowText(longTitle), full);
    EXPECT_EQ(rig::WindowText(anchor), L"Anchor");
    DestroyWindow(longClass);
    UnregisterClassW(className.c_str(), wc.hInstance);
}

TEST_F(Clock, AWindowThatTakesTheClockLateStillEndsWithItsOwnTitle) {
    // The window takes a clock text and stays inside the handler past the program's
    // wait; meanwhile another window comes to the front. Once it has written the late
    // clock text, it must still get its own title back.
    rig::settings::SetString(L"TimeFormat", L"[%Y]");
    Start();
    rig::HostProcess other;
    ASSERT_TRUE(other.ok());
    const HWND a = Make(L"Late", 60, 100, 350, 250);
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 450, 100, 350, 250);
    layout.title = L"Front";
    const HWND b = other.Create(layout);
    ASSERT_TRUE(rig::Activate(a));
    ASSERT_TRUE(WaitTitle(a, WithYear(L"Late")));
    host.ClearLog();
    ASSERT_TRUE(host.SlowDown(a, WM_SETTEXT, 1500));
    // The next tick's clock text is taken, and the handler stays inside.
    ASSERT_TRUE(rig::WaitFor([&] { return !host.Log(a, WM_SETTEXT).empty(); }, 4000));
    ASSERT_TRUE(rig::Activate(b));
    ASSERT_TRUE(WaitTitle(b, WithYear(L"Front")));
    EXPECT_TRUE(WaitTitle(a, L"Late", 12000)) << rig::WindowText(a).c_str();
    Exit();
    EXPECT_EQ(rig::WindowText(a), L"Late");
    EXPECT_TRUE(WaitTitle(b, L"Front"));
}

}  // namespace
