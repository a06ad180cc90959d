// The order of things with every shell tweak on: the apply step at start-up reaches the
// shell's windows in its fixed order, and the exit gives back the clock window's title,
// the shaded window's height, the start button's text, the Explorer bands and the
// opaque taskbar, in that order. Every window is the fake shell's, so that one log, in
// the order its one thread received them, shows the order of the program's calls.
#include <windows.h>
#include <commctrl.h>

#include "shell_fixture.h"

namespace {

struct Step {
    const char* what;
    HWND window;
    UINT message;
    uint64_t lParam = rig::kAny;
};

// Whether the log holds the steps in this order (others may come in between); `why`
// names the first step that is missing.
bool InOrder(const std::vector<rig::LogEntry>& log, const std::vector<Step>& steps, std::string* why) {
    size_t next = 0;
    for (const rig::LogEntry& e : log) {
        if (next == steps.size()) break;
        const Step& s = steps[next];
        if (e.window == reinterpret_cast<uintptr_t>(s.window) && e.message == s.message &&
            (s.lParam == rig::kAny || e.lParam == s.lParam))
            ++next;
    }
    if (next < steps.size()) *why = std::string("missing or out of order: ") + steps[next].what;
    return next == steps.size();
}

class ApplyAndShutDown : public ShellTest {};

TEST_F(ApplyAndShutDown, EverythingOnIsAppliedAndGivenBackInOrder) {
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    rig::settings::SetString(L"StartButtonText", L"Go");
    rig::settings::SetDword(L"HideMenu", 1);
    rig::settings::SetDword(L"HideFlag", 1);
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    rig::settings::SetDword(L"ShowClock", 1);
    rig::settings::SetString(L"TimeFormat", L"[clock]");
    const HWND list = shell.CreateDesktop(0x000000, 0xFFFFFF);
    const HWND folder = shell.CreateFolderWindow(L"CabinetWClass", 40, 60, 520, 300);
    const HWND rebar = rig::FolderRebar(folder);
    const HWND taskbar = shell.CreateTaskbar(0, 708, 1024, 40, L"Start");
    const HWND button = GetWindow(taskbar, GW_CHILD);
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 100, 300, 200);
    layout.title = L"Titled";
    const HWND titled = shell.Create(layout);
    layout.title = L"Shaded";
    layout.y = 350;
    const HWND shaded = shell.Create(layout);
    ASSERT_TRUE(list && rebar && button && titled && shaded);
    ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), taskbar);
    shell.Flush();
    shell.ClearLog();

    // The apply at start-up: library (the taskbar turns translucent), start button,
    // Explorer bands, desktop icons, tray icon.
    StartProbed();
    std::string why;
    EXPECT_TRUE(InOrder(shell.Log(), {{"taskbar made translucent", taskbar, WM_STYLECHANGED},
                                      {"start button text", button, WM_SETTEXT},
                                      {"Explorer bands", rebar, RB_SHOWBAND},
                                      {"desktop icon colours", list, LVM_SETTEXTBKCOLOR},
                                      {"tray icon added", taskbar, WM_COPYDATA, NIM_ADD}},
                        &why))
        << why;

    // Clock on the titled window, the other one rolled up.
    ASSERT_TRUE(rig::Activate(titled));
    ASSERT_TRUE(rig::WaitFor([&] { return rig::WindowText(titled) == L"Titled  [clock]"; }))
        << rig::WindowText(titled).c_str();
    PostMessageW(program->window(), WM_USER + 50, 0, reinterpret_cast<LPARAM>(shaded));
    Settle();
    ASSERT_LT(rig::WindowHeight(shaded), 100);
    ASSERT_TRUE(rig::IsLayered(taskbar));
    ASSERT_EQ(rig::WindowText(button), L"Go");
    ASSERT_NE(shell.HiddenBands(rebar), 0u);

    shell.ClearLog();
    Exit();
    EXPECT_TRUE(InOrder(shell.Log(), {{"clock title given back", titled, WM_SETTEXT},
                                      {"height given back", shaded, WM_WINDOWPOSCHANGED},
                                      {"start button text given back", button, WM_SETTEXT},
                                      {"tray icon removed", taskbar, WM_COPYDATA, NIM_DELETE},
                                      {"Explorer bands shown", rebar, RB_SHOWBAND},
                                      {"taskbar made opaque", taskbar, WM_STYLECHANGED}},
                        &why))
        << why;
    EXPECT_EQ(rig::WindowText(titled), L"Titled");
    EXPECT_EQ(rig::WindowHeight(shaded), 200);
    EXPECT_EQ(rig::WindowText(button), L"Start");
    EXPECT_EQ(shell.HiddenBands(rebar), 0u);
    EXPECT_FALSE(rig::IsLayered(taskbar));
    // Not given back: the desktop icon colours.
    EXPECT_EQ(shell.ListColors(list).back, CLR_NONE);
}

}  // namespace
