// The program's hotkeys, pressed as real keys: each changes Wine's notepad as its
// gesture does; none acts on the shell's windows or a filtered class; a combination
// stored in the registry replaces its default; one that another program holds stays
// with it while the others work; pause lets them go and resume takes them again. And
// click-through: a click on a click-through window reaches the window under it, and the
// hotkey, the tray menu's item and the program's end each give the window back.
#include <windows.h>

#include "notepad.h"
#include "resource.h"
#include "sheet_fixture.h"

namespace {

constexpr UINT kChord = MOD_CONTROL | MOD_SHIFT | MOD_WIN;

// The combination pressed and let go as real keys.
void Press(WORD key, UINT modifiers = kChord) {
    const WORD order[] = {VK_CONTROL, VK_SHIFT, VK_MENU, VK_LWIN};
    const UINT bits[] = {MOD_CONTROL, MOD_SHIFT, MOD_ALT, MOD_WIN};
    for (int i = 0; i < 4; ++i)
        if (modifiers & bits[i]) rig::KeyDown(order[i]);
    rig::KeyPress(key);
    for (int i = 3; i >= 0; --i)
        if (modifiers & bits[i]) rig::KeyUp(order[i]);
}

// Whether this process could hold the combination now (nobody else does).
bool Free(WORD key, UINT modifiers = kChord) {
    if (!RegisterHotKey(nullptr, 0x7000, modifiers, key)) return false;
    UnregisterHotKey(nullptr, 0x7000);
    return true;
}

class Hotkeys : public ProgramTest {
protected:
    static bool OnTop(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }
    static bool ClickThrough(HWND window) {
        return (GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) ==
               (WS_EX_LAYERED | WS_EX_TRANSPARENT);
    }
    // Settles the program and checks that `window` is as it was.
    void ExpectUnchanged(HWND window, int alpha, bool onTop) {
        rig::ProgramProbe probe;
        ASSERT_TRUE(probe.Attach(program->threadId()));
        ASSERT_TRUE(probe.Settle(program->window()));
        EXPECT_EQ(rig::LayeredAlpha(window), alpha);
        EXPECT_EQ(OnTop(window), onTop);
    }
};

TEST_F(Hotkeys, EachChangesTheActiveNotepadAsItsGestureDoes) {
    rig::settings::SetDword(L"WheelStep", 5);
    rig::Notepad notepad;
    const HWND window = notepad.window();
    ASSERT_NE(window, nullptr);
    Start();
    ASSERT_TRUE(rig::Activate(window));

    Press('T');
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 190; })) << rig::LayeredAlpha(window);
    Press(VK_NEXT);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 185; })) << rig::LayeredAlpha(window);
    Press(VK_PRIOR);
    Press(VK_PRIOR);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 195; })) << rig::LayeredAlpha(window);
    Press('T');
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); }));
    // From opaque a step down starts at full opacity; a step up beyond it ends it.
    Press(VK_NEXT);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 250; })) << rig::LayeredAlpha(window);
    for (int i = 0; i < 2; ++i) Press(VK_PRIOR);
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); }));

    Press('A');
    EXPECT_TRUE(rig::WaitFor([&] { return OnTop(window); }));
    Press('A');
    EXPECT_TRUE(rig::WaitFor([&] { return !OnTop(window); }));

    const int height = rig::WindowHeight(window);
    Press('R');
    EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) < height / 2; })) << rig::WindowHeight(window);
    Press('R');
    EXPECT_TRUE(rig::WaitFor([&] { return rig::WindowHeight(window) == height; })) << rig::WindowHeight(window);
}

TEST_F(Hotkeys, NoneActsOnAFilteredClassOrTheShellAndAStoredCombinationReplacesItsDefault) {
    rig::settings::SetString(L"0", L"Notepad", rig::settings::kClassFilter);
    // The translucency toggle on Ctrl+Alt+Y, on.
    rig::settings::SetDword(L"Translucency", 'Y' | ((MOD_CONTROL | MOD_ALT) << 8) | 0x10000, L"Hotkeys");
    const HWND other = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200));
    ASSERT_NE(other, nullptr);
    rig::Notepad notepad;
    ASSERT_NE(notepad.window(), nullptr);
    Start();
    EXPECT_TRUE(Free('T')) << "the default is still held";

    ASSERT_TRUE(rig::Activate(notepad.window()));
    Press('Y', MOD_CONTROL | MOD_ALT);
    Press('A');
    ExpectUnchanged(notepad.window(), -1, false);

    // Captioned windows of the desktop's classes: the shell's, left alone.
    for (const wchar_t* shellClass : {L"Progman", L"WorkerW"}) {
        rig::WindowSpec layout = rig::Layout(shellClass, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 300, 300, 200);
        layout.title = L"Shell stand-in";
        const HWND shellWindow = host.Create(layout);
        ASSERT_NE(shellWindow, nullptr);
        ASSERT_TRUE(rig::Activate(shellWindow));
        Press('Y', MOD_CONTROL | MOD_ALT);
        Press('A');
        ExpectUnchanged(shellWindow, -1, false);
        host.Destroy(shellWindow);
    }

    ASSERT_TRUE(rig::Activate(other));
    Press('T');
    ExpectUnchanged(other, -1, false);
    Press('Y', MOD_CONTROL | MOD_ALT);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(other) == 190; }));
}

TEST_F(Hotkeys, OneHeldElsewhereStaysThereTheOthersWorkAndPauseLetsThemAllGo) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x7001, kChord, 'A'));
    const HWND window = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200));
    ASSERT_NE(window, nullptr);
    Start();
    ASSERT_TRUE(rig::Activate(window));
    Press('T');
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 190; }));
    Press('A');
    ExpectUnchanged(window, 190, false);
    UnregisterHotKey(nullptr, 0x7001);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }

    EXPECT_FALSE(Free('T'));
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
    EXPECT_TRUE(rig::WaitFor([&] { return Free('T') && Free(VK_NEXT); })) << "paused, the program holds them still";
    Press('T');
    ExpectUnchanged(window, 190, false);
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
    EXPECT_TRUE(rig::WaitFor([&] { return !Free('T') && !Free('A'); })) << "resumed, the program holds none";
    Press('T');
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); }));
}

TEST_F(Hotkeys, AClickThroughWindowLetsClicksThroughAndIsGivenBackByHotkeyMenuAndExit) {
    const HWND behind = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 400));
    const HWND front = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200));
    ASSERT_TRUE(behind && front);
    rig::ProgramProbe probe;
    Start();
    ASSERT_TRUE(probe.Attach(program->threadId()));
    const RECT rc = rig::WindowRect(front);
    const int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;

    // Made click-through by the hotkey: translucent at the program's level, on top, and
    // a click in its middle lands on the window under it.
    ASSERT_TRUE(rig::Activate(front));
    Press('X');
    ASSERT_TRUE(rig::WaitFor([&] { return ClickThrough(front) && OnTop(front); }));
    EXPECT_EQ(rig::LayeredAlpha(front), 190);
    host.ClearLog();
    rig::LeftClick(x, y);
    EXPECT_TRUE(rig::WaitFor([&] { return !host.Log(behind, WM_LBUTTONDOWN).empty(); })) << "the click did not go through";
    EXPECT_TRUE(host.Log(front, WM_LBUTTONDOWN).empty());

    // The hotkey again, whatever window is active: the window is itself again.
    Press('X');
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(front) && !OnTop(front); }));

    // The tray menu lists it by title; its item gives it back.
    ASSERT_TRUE(rig::Activate(front));
    Press('X');
    ASSERT_TRUE(rig::WaitFor([&] { return ClickThrough(front); }));
    std::vector<rig::ProgramProbe::MenuItem> items;
    ASSERT_NE(OpenTrayMenu(*program, probe, &items), nullptr);
    ASSERT_TRUE(program->CloseMenu());
    const auto item = std::find_if(items.begin(), items.end(), [](const auto& i) { return i.id == ID_TRAY_CLICK_THROUGH; });
    ASSERT_NE(item, items.end()) << "no item for the click-through window";
    EXPECT_NE(item->text.find(rig::WindowText(front)), std::wstring::npos) << testing::PrintToString(item->text);
    PostMessageW(program->window(), WM_COMMAND, ID_TRAY_CLICK_THROUGH, 0);
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(front) && !OnTop(front); }));

    // The end gives back every one.
    ASSERT_TRUE(rig::Activate(front));
    Press('X');
    ASSERT_TRUE(rig::WaitFor([&] { return ClickThrough(front); }));
    Exit();
    EXPECT_FALSE(rig::IsLayered(front));
    EXPECT_FALSE(OnTop(front));

    // A program killed meanwhile leaves it to the next start, which gives it back.
    program.reset();
    Start();
    ASSERT_TRUE(rig::Activate(front));
    Press('X');
    ASSERT_TRUE(rig::WaitFor([&] { return ClickThrough(front); }));
    ASSERT_TRUE(TerminateProcess(program->process(), 9));
    ASSERT_TRUE(program->WaitExit());
    program.reset();
    // Windows would take the killed program's hooks away with its thread; Wine keeps them.
    lib.LockMessage(1);
    lib.End();
    EXPECT_TRUE(ClickThrough(front));
    Start();
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(front) && !OnTop(front); }));
}

}  // namespace

namespace {

TEST_F(Hotkeys, AHungClickThroughWindowHoldsNothingUpAndIsGivenBackOnceAwake) {
    const HWND window = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 150, 150, 300, 200));
    ASSERT_NE(window, nullptr);
    rig::ProgramProbe probe;
    Start();
    ASSERT_TRUE(probe.Attach(program->threadId()));
    ASSERT_TRUE(rig::Activate(window));
    Press('X');
    ASSERT_TRUE(rig::WaitFor([&] { return ClickThrough(window); }));
    // Hung long enough for Windows to call it so: the hotkey leaves it as it is, and the
    // program goes on answering.
    ASSERT_TRUE(host.MakeBusy(9000));
    ASSERT_TRUE(rig::WaitFor([&] { return IsHungAppWindow(window) != FALSE; }, 8000));
    Press('X');
    EXPECT_TRUE(probe.Settle(program->window(), 1000)) << "the program waited for the hung window";
    EXPECT_TRUE(ClickThrough(window));
    // Awake, the next press gives it back.
    ASSERT_TRUE(rig::WaitFor([&] { return !IsHungAppWindow(window); }, 10000));
    Press('X');
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window) && !OnTop(window); }));
}

void WriteRule(const wchar_t* name, DWORD value) { rig::settings::SetDword(name, value, L"Rules\\0"); }

TEST_F(Hotkeys, RulesBringNotepadUpClickThroughOrTranslucentOnlyWhileInactive) {
    rig::settings::SetString(L"Program", rig::kNotepadExe, L"Rules\\0");
    WriteRule(L"Level", 150);
    WriteRule(L"WhileInactive", 1);
    const HWND other = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200));
    ASSERT_NE(other, nullptr);
    Start();
    {
        rig::Notepad notepad;
        const HWND window = notepad.window();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(rig::Activate(window));
        EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); })) << "translucent while active";
        ASSERT_TRUE(rig::Activate(other));
        EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 150; })) << rig::LayeredAlpha(window);
        ASSERT_TRUE(rig::Activate(window));
        EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); })) << "translucent once active again";
    }
    Exit();
    program.reset();

    // Click-through by rule, at the program's level (the rule has none of its own).
    WriteRule(L"Level", 0);
    WriteRule(L"WhileInactive", 0);
    WriteRule(L"ClickThrough", 1);
    Start();
    rig::Notepad notepad;
    const HWND window = notepad.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(rig::WaitFor([&] { return ClickThrough(window) && OnTop(window); }));
    EXPECT_EQ(rig::LayeredAlpha(window), 190);
    Exit();
    EXPECT_FALSE(rig::IsLayered(window));
}

}  // namespace

namespace {

constexpr int kKeysPage = 8;

class KeysPage : public SheetTest {};

TEST_F(KeysPage, ACombinationTypedOnThePageReplacesTheOldOneAndOneHeldElsewhereShowsTaken) {
    // Another program holds the roll-up's default.
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x7002, kChord, 'R'));
    const HWND window = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200));
    ASSERT_NE(window, nullptr);
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(kKeysPage));
    EXPECT_EQ(sheet.Text(IDC_KEYS_STATE + 4), L"使用中");
    EXPECT_EQ(sheet.Text(IDC_KEYS_STATE + 0), L"");
    EXPECT_EQ(sheet.Check(IDC_KEYS_WIN + 0), 1);

    // The translucency toggle becomes Ctrl+Shift+Y: the Windows key's box cleared, the
    // rest typed into the row's control.
    constexpr UINT kNew = MOD_CONTROL | MOD_SHIFT;
    ASSERT_TRUE(sheet.ClickTo(IDC_KEYS_WIN + 0, 0));
    sheet.Click(IDC_KEYS_KEY + 0);
    ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == sheet.Item(IDC_KEYS_KEY + 0); }));
    Press('Y', kNew);
    CloseWith(IDOK);

    ASSERT_TRUE(rig::Activate(window));
    Press('T');
    Press('Y', kNew);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 190; }));
    EXPECT_TRUE(Free('T')) << "the old combination is still held";
    UnregisterHotKey(nullptr, 0x7002);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }
    Exit();
    EXPECT_EQ(rig::settings::Dword(L"Translucency", L"Hotkeys"), std::optional<DWORD>('Y' | (kNew << 8) | 0x10000));
}

}  // namespace
