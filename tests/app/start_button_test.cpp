// The start button's text: set from the settings at every apply, won back after the
// shell rewrites it (at the next paint report of the library), given back when the
// feature is off and when the program ends. First on Wine's own taskbar, then on the
// fake shell's, whose button logs every text it is given.
#include "shell_fixture.h"

namespace {

// Outside code page 932 as well as inside it.
const std::wstring kText = L"スタート Ünïcødé";

// Paints `window` through a sent WM_PAINT in its own thread, which the library reports.
void PaintReport(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

// Wine's taskbar, with the tray requests going to it too.
class WineStartButton : public ShellTest {
protected:
    bool WithTrayStandIn() const override { return false; }
    void SetUp() override {
        ShellTest::SetUp();
        button = GetWindow(ShellTaskbar(), GW_CHILD);
        ASSERT_NE(button, nullptr);
        original = rig::WindowText(button);
    }
    void TearDown() override {
        ShellTest::TearDown();
        SetWindowTextW(button, original.c_str());
    }
    HWND button = nullptr;
    std::wstring original;
};

TEST_F(WineStartButton, ShowsTheTextWinsItBackAndGivesTheOwnBackAtExit) {
    SetWindowTextW(button, L"Start");
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", kText);
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), kText);

    // The shell writes its own text; the next paint report brings ours back. (Not for a
    // 32-bit program on 64-bit Windows: the library's hooks never run inside a 64-bit
    // Explorer, so no paint of its taskbar is reported. The fake shell's taskbar below
    // is of the program's width.)
    if (!rig::OfOtherWidth(button)) {
        SetWindowTextW(button, L"Start");
        PaintReport(button);
        EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowText(button) == kText; })) << rig::WindowText(button).c_str();
    }

    Exit();
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_EQ(rig::settings::String(L"StartButtonText"), std::optional<std::wstring>(kText));
}

class FakeStartButton : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        taskbar = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
        ASSERT_NE(taskbar, nullptr);
        button = GetWindow(taskbar, GW_CHILD);
        ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar) << "the program would find another taskbar";
    }
    // Texts the button was given since its log was cleared.
    size_t Sets() const { return shell.Log(button, WM_SETTEXT).size(); }
    // Paint reports as the library posts them.
    void PaintReports(int n) {
        for (int i = 0; i < n; ++i) PostMessageW(program->window(), WM_USER + 51, 0, 0);
        Settle();
    }

    HWND taskbar = nullptr;
    HWND button = nullptr;
};

TEST_F(FakeStartButton, OffGivesTheOwnTextBackAtEveryApplyAndPaintReportsChangeNothing) {
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_EQ(Sets(), 0u) << "the button already showed its own text";

    // Someone rewrites it: the next apply gives the button its own text back.
    shell.SetText(button, L"Other");
    shell.ClearLog();
    PaintReport(button);
    Settle();
    EXPECT_EQ(rig::WindowText(button), L"Other");
    Apply();
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_EQ(Sets(), 1u);
}

TEST_F(FakeStartButton, EmptyTextEmptiesTheButtonAndExitGivesItsTextBack) {
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"");
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), L"");
    EXPECT_EQ(Sets(), 1u);
    Exit();
    EXPECT_EQ(rig::WindowText(button), L"Start");
}

TEST_F(FakeStartButton, LongTextIsSetOnceNotOnEveryPaintReport) {
    const std::wstring longText = std::wstring(150, L'長') + std::wstring(150, L'x');
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", longText);
    StartProbed();
    EXPECT_EQ(rig::WindowText(button), longText);
    EXPECT_EQ(Sets(), 1u);

    PaintReports(300);
    PaintReport(button);
    Settle();
    EXPECT_EQ(Sets(), 1u) << "the long text was set again";

    // A rewrite costs exactly one set; so does a text one character longer than ours.
    shell.SetText(button, L"Start");
    shell.ClearLog();
    PaintReports(50);
    EXPECT_EQ(rig::WindowText(button), longText);
    EXPECT_EQ(Sets(), 1u);
    shell.SetText(button, longText + L"!");
    shell.ClearLog();
    PaintReports(50);
    EXPECT_EQ(rig::WindowText(button), longText);
    EXPECT_EQ(Sets(), 1u);
}

}  // namespace

namespace {

// The shell restarts: a new taskbar, told to no program. "TaskbarCreated" brings the
// program's icon, the start button's text and the taskbar's translucency back to it.
TEST_F(FakeStartButton, ANewTaskbarGetsTheIconTheTextAndTheTranslucencyBack) {
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Go");
    rig::settings::SetDword(L"TaskbarTPValue", 150);
    StartProbed();
    ASSERT_EQ(rig::WindowText(button), L"Go");
    ASSERT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(taskbar) == 150; }));

    ASSERT_TRUE(shell.Destroy(taskbar));
    const HWND fresh = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
    const HWND freshButton = GetWindow(fresh, GW_CHILD);
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), fresh);
    // (Activated on creation, it may have turned translucent already: not what is tested.)
    lib.RemoveTransparent(fresh);
    ASSERT_FALSE(rig::IsLayered(fresh));
    shell.ClearLog();
    PostMessageW(program->window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    Settle();
    EXPECT_EQ(rig::WindowText(freshButton), L"Go");
    EXPECT_EQ(rig::LayeredAlpha(fresh), 150);
    bool added = false;
    for (const rig::LogEntry& e : shell.Log(fresh, WM_COPYDATA)) added = added || e.lParam == NIM_ADD;
    EXPECT_TRUE(added) << "no icon added to the new taskbar";
}

}  // namespace
