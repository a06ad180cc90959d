// A killed program leaves other windows as it changed them: rolled up, with a clock in
// their title, a start button with its text. Its journal lets the next start give them
// back (only where a window still shows what the program set); a clean end leaves no
// journal behind.
#include "shell_fixture.h"

namespace {

constexpr wchar_t kJournal[] = L"Journal";

class Journal : public ShellTest {
protected:
    void Kill() {
        ASSERT_TRUE(TerminateProcess(program->process(), 9));
        ASSERT_TRUE(program->WaitExit());
        program.reset();
    }
    static int CaptionHeight(HWND window) {
        RECT frame = {0, 0, 0, 0};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
        return frame.bottom - frame.top;
    }
    // The fake shell's taskbar with its start button showing "Go" and a window of the
    // shell carrying the clock "Titled  [clock]", set by the program started here.
    void StartWithShellChanged() {
        taskbar_ = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
        button_ = GetWindow(taskbar_, GW_CHILD);
        ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar_);
        rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 120, 300, 240);
        layout.title = L"Titled";
        window_ = shell.Create(layout);
        ASSERT_NE(window_, nullptr);
        rig::settings::SetDword(L"EnableStartButtonTP", 1);
        rig::settings::SetString(L"StartButtonText", L"Go");
        rig::settings::SetDword(L"ShowClock", 1);
        rig::settings::SetString(L"TimeFormat", L"[clock]");
        StartProbed();
        ASSERT_TRUE(rig::Activate(window_));
        ASSERT_TRUE(rig::WaitFor([&] { return rig::WindowText(window_) == L"Titled  [clock]"; }));
        ASSERT_EQ(rig::WindowText(button_), L"Go");
    }
    HWND taskbar_ = nullptr, button_ = nullptr, window_ = nullptr;

    void Shade(HWND window) {
        PostMessageW(program->window(), WM_USER + 50, 0, reinterpret_cast<LPARAM>(window));
        ASSERT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) == CaptionHeight(window); }));
    }
};

TEST_F(Journal, ShadedWindowsAreUnrolledByTheNextStartUnlessTheUserDidItMeanwhile) {
    StartProbed();
    const HWND rolled = Make(L"Rolled", 60, 120, 300, 240);
    const HWND unrolledByHand = Make(L"Unrolled by hand", 420, 120, 300, 240);
    Shade(rolled);
    Shade(unrolledByHand);
    Kill();
    EXPECT_EQ(rig::WindowHeight(rolled), CaptionHeight(rolled)) << "the kill gave nothing back";
    EXPECT_TRUE(rig::settings::SectionExists(kJournal));
    // The user gives one window a height of its own before the next start.
    SetWindowPos(unrolledByHand, nullptr, 0, 0, 300, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    StartProbed();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(rolled) == 240; })) << rig::WindowHeight(rolled);
    EXPECT_EQ(rig::WindowHeight(unrolledByHand), 180);
    EXPECT_FALSE(rig::settings::SectionExists(kJournal)) << "recovered and cleared";
    // A clean end leaves no journal either.
    Shade(rolled);
    Exit();
    EXPECT_FALSE(rig::settings::SectionExists(kJournal));
    EXPECT_EQ(rig::WindowHeight(rolled), 240);
}

TEST_F(Journal, TheClockLeavesTheTitleWithTheNextStart) {
    rig::settings::SetDword(L"ShowClock", 1);
    rig::settings::SetString(L"TimeFormat", L"[clock]");
    StartProbed();
    const HWND window = Make(L"Titled", 60, 120, 300, 240);
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(rig::WaitFor([&] { return rig::WindowText(window) == L"Titled  [clock]"; }));
    Kill();
    EXPECT_EQ(rig::WindowText(window), L"Titled  [clock]");

    rig::settings::SetDword(L"ShowClock", 0);
    StartProbed();
    EXPECT_EQ(rig::WindowText(window), L"Titled");
}

TEST_F(Journal, TheStartButtonGetsItsOwnTextBackAndKeepsItAsItsOwn) {
    const HWND taskbar = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
    const HWND button = GetWindow(taskbar, GW_CHILD);
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar);
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Go");
    StartProbed();
    ASSERT_EQ(rig::WindowText(button), L"Go");
    Kill();
    EXPECT_EQ(rig::WindowText(button), L"Go");

    // Still on: the next start knows "Start" as the button's own text and gives it back
    // at its end; switched off: given back at once.
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), L"Go");
    Exit();
    EXPECT_EQ(rig::WindowText(button), L"Start");

    StartProbed();
    Kill();
    rig::settings::SetDword(L"EnableStartButtonTP", 0);
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), L"Start");
}

// The shell is still hung when the program starts again: what it could not give back
// is kept, given back once the shell answers, and the start button's text that run set
// is never taken for the button's own.
TEST_F(Journal, WhatAShellStillHungAtTheNextStartCouldNotTakeBackIsGivenBackOnceItAnswers) {
    // What a killed run left: the journal names a window of the shell that carries its
    // clock, and the start button showing its text.
    const HWND taskbar = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
    const HWND button = GetWindow(taskbar, GW_CHILD);
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar);
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 120, 300, 240);
    layout.title = L"Titled  [clock]";
    const HWND window = shell.Create(layout);
    ASSERT_TRUE(shell.SetText(button, L"Go"));
    const std::wstring handle = std::to_wstring(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
    rig::settings::SetDword(L"Format", 2, kJournal);
    rig::settings::SetDword(L"ClockCount", 1, kJournal);
    rig::settings::SetString(L"Clock0", handle + L" " + std::to_wstring(shell.pid()) + L" RigWindow", kJournal);
    rig::settings::SetString(L"Clock0Title", L"Titled", kJournal);
    rig::settings::SetDword(L"StartButtonSet", 1, kJournal);
    rig::settings::SetString(L"StartButtonOwnText", L"Start", kJournal);
    rig::settings::SetString(L"StartButtonSetText", L"Go", kJournal);

    ASSERT_TRUE(shell.MakeBusy(2500));
    StartProbed();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowText(window) == L"Titled"; }, 15000))
        << "the title was not given back once the shell answered";
    Exit();
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_FALSE(rig::settings::SectionExists(kJournal));
}

// The shell's thread hangs, long enough for the system to take it for hung, and the
// program ends meanwhile: the end must not wait for the shell, and what the shell's
// windows did not take back stays in the journal for the next start.
TEST_F(Journal, WhatAHungShellDidNotTakeBackAtTheEndIsGivenBackByTheNextStart) {
    // A folder window of the shell loses its menu band too.
    const HWND folder = shell.CreateFolderWindow(L"CabinetWClass", 400, 60, 520, 300);
    const HWND rebar = rig::FolderRebar(folder);
    ASSERT_NE(rebar, nullptr);
    rig::settings::SetDword(L"HideMenu", 1);
    ASSERT_NO_FATAL_FAILURE(StartWithShellChanged());
    const HWND taskbar = taskbar_, button = button_, window = window_;
    ASSERT_EQ(shell.HiddenBands(rebar), 1u << rig::kMenuBand);

    // Hung as the system judges it: a message that gives up on hung windows does so at once.
    const auto judgedHung = [&] {
        const ULONGLONG start = GetTickCount64();
        DWORD_PTR result = 0;
        return !SendMessageTimeoutW(taskbar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) &&
               GetTickCount64() - start < 200;
    };
    ASSERT_TRUE(shell.MakeBusy(8000));
    ASSERT_TRUE(rig::WaitFor(judgedHung, 7000));
    const ULONGLONG start = GetTickCount64();
    Exit();
    EXPECT_LT(GetTickCount64() - start, 2000u) << "the end waited on the hung shell";
    EXPECT_TRUE(rig::settings::SectionExists(kJournal));

    // Awake again, the shell's windows still show what the program set...
    ASSERT_TRUE(rig::WaitFor([&] {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(taskbar, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result) != 0;
    }, 10000));
    EXPECT_EQ(rig::WindowText(button), L"Go");
    EXPECT_EQ(rig::WindowText(window), L"Titled  [clock]");
    EXPECT_EQ(shell.HiddenBands(rebar), 1u << rig::kMenuBand);

    // ...which the next start gives back, knowing "Start" as the button's own text.
    rig::settings::SetDword(L"EnableStartButtonTP", 0);
    rig::settings::SetDword(L"ShowClock", 0);
    rig::settings::SetDword(L"HideMenu", 0);
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_EQ(rig::WindowText(window), L"Titled");
    EXPECT_EQ(shell.HiddenBands(rebar), 0u);
    Exit();
    EXPECT_FALSE(rig::settings::SectionExists(kJournal));
}

// A journal of an earlier version (it outlived the log-on session) and entries whose
// handle now names another window are not applied: no window loses its title (an
// empty recorded title matched every window) or its height.
// Entries are read by hand, number by number: one that does not read whole (a number
// beyond any int, a number running into text, a field missing) is skipped, and the
// same entry written right is given back.
TEST_F(Journal, EntriesThatDoNotReadWholeAreSkipped) {
    const HWND window = Make(L"Rolled", 60, 120, 300, 240);
    SetWindowPos(window, nullptr, 0, 0, 300, CaptionHeight(window), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::wstring handle = std::to_wstring(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
    const std::wstring pid = std::to_wstring(host.pid());
    const std::wstring rows[] = {
        handle + L" " + pid + L" 99999999999999999999 RigWindow",
        handle + L" " + pid + L" 240x RigWindow",
        handle + L" 99999999999 240 RigWindow",
        handle + L" " + pid + L" 240",
        handle + L" " + pid,
        L"- " + pid + L" 240 RigWindow",
        handle + L" " + pid + L" 240 RigWindow",  // right: given back
    };
    for (const std::wstring& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row));
        const bool right = &row == &rows[std::size(rows) - 1];
        rig::settings::SetDword(L"Format", 2, kJournal);
        rig::settings::SetDword(L"ShadedCount", 1, kJournal);
        rig::settings::SetString(L"Shaded0", row, kJournal);
        StartProbed();
        if (right)
            EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) == 240; }));
        else
            EXPECT_EQ(rig::WindowHeight(window), CaptionHeight(window));
        Exit();
        EXPECT_FALSE(rig::settings::SectionExists(kJournal));
    }
}

TEST_F(Journal, EntriesForOtherWindowsOrFromAnotherSessionAreLeftAlone) {
    const HWND window = Make(L"Bystander", 60, 120, 300, 240);
    SetWindowPos(window, nullptr, 0, 0, 300, CaptionHeight(window), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::wstring handle = std::to_wstring(static_cast<int32_t>(reinterpret_cast<intptr_t>(window)));
    const std::wstring pid = std::to_wstring(host.pid());
    for (int format : {0, 2}) {
        SCOPED_TRACE(format);
        rig::settings::SetString(L"Shaded", handle + L" 240", kJournal);
        rig::settings::SetDword(L"ClockWindow", static_cast<DWORD>(std::stoi(handle)), kJournal);
        rig::settings::SetString(L"ClockTitle", L"", kJournal);
        if (format) {
            rig::settings::SetDword(L"Format", 2, kJournal);
            rig::settings::SetDword(L"ShadedCount", 1, kJournal);
            rig::settings::SetString(L"Shaded0", handle + L" " + pid + L" 240 OtherClass", kJournal);
            rig::settings::SetDword(L"ClockCount", 1, kJournal);
            rig::settings::SetString(L"Clock0", handle + L" 1 RigWindow", kJournal);
            rig::settings::SetString(L"Clock0Title", L"", kJournal);
        }
        StartProbed();
        EXPECT_EQ(rig::WindowText(window), L"Bystander");
        EXPECT_EQ(rig::WindowHeight(window), CaptionHeight(window));
        Exit();
        EXPECT_FALSE(rig::settings::SectionExists(kJournal));
    }
    // The journal a run writes ends with the log-on session: the registry makes no
    // lasting key under it.
    rig::settings::SetDword(L"ShowClock", 1);
    StartProbed();
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(rig::WaitFor([&] { return rig::settings::SectionExists(kJournal); }));
    HKEY key = nullptr;
    const std::wstring path = std::wstring(rig::settings::kKey) + L"\\" + kJournal + L"\\Lasting";
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    if (key) RegCloseKey(key);
}

}  // namespace
