// The hook procedures called directly, in this process, for the branches that real
// input under Wine cannot reach: Wine reports a held right Shift as the left one, so
// the left-Shift-only tests of the shade requests are checked here with a key state
// set for this thread. Also the corners of the move/size state table.
#include <gtest/gtest.h>

#include "hook_procs.h"
#include "rig.h"
#include "shared_settings.h"
#include "vitrel_api.h"

extern "C" BOOL WINAPI VitrelEntry(HINSTANCE instance, DWORD reason, LPVOID);

namespace {

class HookProcs : public ::testing::Test {
protected:
    void SetUp() override {
        VitrelEntry(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr);
        g_shared.Locked = 0;
        g_shared.ProgramWindow = WordFromHandle(program.hwnd());
        window = CreateWindowExW(0, L"STATIC", L"captioned", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        SetKeys({});
    }

    void TearDown() override {
        SetKeys({});
        DestroyWindow(window);
        g_shared.Locked = 1;
        for (volatile int32_t* flag : {&g_shared.ShadeTP, &g_shared.ShadeRight, &g_shared.SClickTP, &g_shared.MoveTP,
                                       &g_shared.SizingTP, &g_shared.MovingActive, &g_shared.SizingActive})
            *flag = 0;
        g_shared.ShadeArea = 1;
    }

    // Sets this thread's key state: the keys given are down, all others up.
    static void SetKeys(std::initializer_list<int> down) {
        BYTE keys[256] = {};
        for (int vk : down) keys[vk] = 0x80;
        SetKeyboardState(keys);
    }

    LRESULT Mouse(UINT message, LONG x, UINT hitTest = HTCAPTION) {
        RECT rc;
        GetWindowRect(window, &rc);
        MOUSEHOOKSTRUCT mh = {};
        mh.pt = POINT{x, rc.top + 10};
        mh.hwnd = window;
        mh.wHitTestCode = hitTest;
        return MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&mh));
    }

    void Sent(UINT message) {
        CWPSTRUCT cwp = {0, 0, message, window};
        CallWndProcHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
    }

    rig::Recorder program;
    HWND window = nullptr;
};

TEST_F(HookProcs, RightClickWithRightShiftIsSwallowedWithLeftShiftPassed) {
    g_shared.ShadeRight = 1;
    SetKeys({VK_SHIFT, VK_RSHIFT});
    EXPECT_EQ(Mouse(WM_NCRBUTTONDOWN, 150), 1);
    EXPECT_EQ(program.Count(WM_SHADE_RCLICK, 0, reinterpret_cast<LPARAM>(window)), 1u);

    SetKeys({VK_SHIFT, VK_LSHIFT});
    Mouse(WM_NCRBUTTONDOWN, 150);
    EXPECT_EQ(program.Count(WM_SHADE_RCLICK), 1u);
}

TEST_F(HookProcs, DoubleClickWithRightShiftIsSwallowedWithLeftShiftPassed) {
    g_shared.ShadeTP = 1;
    g_shared.ShadeArea = 0;
    SetKeys({VK_SHIFT, VK_RSHIFT});
    EXPECT_EQ(Mouse(WM_NCLBUTTONDBLCLK, 150), 1);
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK, 0, reinterpret_cast<LPARAM>(window)), 1u);

    SetKeys({VK_SHIFT, VK_LSHIFT});
    Mouse(WM_NCLBUTTONDBLCLK, 150);
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK), 1u);
}

TEST_F(HookProcs, ClicksWhoseReportCannotBePostedKeepTheirDefaultAction) {
    // An elevated program's window drops the reports of programs with fewer rights: the
    // post fails, as it does to a window that is gone.
    g_shared.ShadeTP = 1;
    g_shared.ShadeRight = 1;
    g_shared.ShadeArea = 0;
    const HWND gone = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    g_shared.ProgramWindow = WordFromHandle(gone);
    EXPECT_EQ(Mouse(WM_NCLBUTTONDBLCLK, 150), 0) << "maximise swallowed";
    EXPECT_EQ(Mouse(WM_NCRBUTTONDOWN, 150), 0) << "system menu swallowed";
}

TEST_F(HookProcs, ShadeAreaOutsideItsRangeNeverAsks) {
    g_shared.ShadeTP = 1;
    for (int area : {3, -1, 100}) {
        g_shared.ShadeArea = area;
        Mouse(WM_NCLBUTTONDBLCLK, 120);
        Mouse(WM_NCLBUTTONDBLCLK, 480);
    }
    EXPECT_EQ(program.Count(WM_SHADE_DBLCLK), 0u);
}

TEST_F(HookProcs, RightShiftAloneTogglesTranslucency) {
    g_shared.SClickTP = 1;
    g_shared.ClaroviaValue = 140;
    SetKeys({VK_SHIFT, VK_RSHIFT});
    Mouse(WM_NCLBUTTONDOWN, 150);
    EXPECT_EQ(rig::LayeredAlpha(window), 140);
}

TEST_F(HookProcs, EndOfMoveWithMoveTurnedOffMeanwhileLeavesTheMoveOwed) {
    g_shared.MoveTP = 1;
    g_shared.MoveTPValue = 100;
    Sent(WM_MOVING);
    ASSERT_EQ(g_shared.MovingActive, 1);
    ASSERT_EQ(rig::LayeredAlpha(window), 100);

    g_shared.MoveTP = 0;
    Sent(WM_EXITSIZEMOVE);
    EXPECT_EQ(g_shared.MovingActive, 1);
    EXPECT_TRUE(rig::IsLayered(window));

    g_shared.MoveTP = 1;
    Sent(WM_EXITSIZEMOVE);
    EXPECT_EQ(g_shared.MovingActive, 0);
    EXPECT_FALSE(rig::IsLayered(window));
}

TEST_F(HookProcs, EndOfASizeRestoresWhateverWindowEndsIt) {
    g_shared.SizingTP = 1;
    g_shared.SizingTPValue = 90;
    Sent(WM_SIZING);
    ASSERT_EQ(g_shared.SizingActive, 1);
    Sent(WM_SIZING);  // a second one changes nothing
    EXPECT_EQ(rig::LayeredAlpha(window), 90);
    g_shared.SizingTP = 0;
    Sent(WM_EXITSIZEMOVE);
    EXPECT_EQ(g_shared.SizingActive, 0);
    EXPECT_FALSE(rig::IsLayered(window));
}

TEST_F(HookProcs, OnlyAPlainEscPressEndsTheMoveTranslucency) {
    g_shared.MovingActive = 1;
    SetActiveWindow(window);
    ASSERT_EQ(GetActiveWindow(), window);
    SetWindowLongW(window, GWL_EXSTYLE, GetWindowLongW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    // Auto-repeat, key up, no scan code: not the Esc press.
    for (const LPARAM other : {static_cast<LPARAM>(0x40010001u), static_cast<LPARAM>(0xC0010001u),
                              static_cast<LPARAM>(0x00000001u), static_cast<LPARAM>(0x00020001u)}) {
        KeyboardHookProc(HC_ACTION, VK_ESCAPE, other);
        EXPECT_TRUE(rig::IsLayered(window)) << std::hex << other;
    }
    KeyboardHookProc(HC_NOREMOVE, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(rig::IsLayered(window));
    KeyboardHookProc(HC_ACTION, VK_ESCAPE, 0x00010001);
    EXPECT_FALSE(rig::IsLayered(window));
    EXPECT_EQ(g_shared.MovingActive, 1);
}

}  // namespace

namespace {

// A hook of the other bitness is called, marshalled, in the thread that set it, with the
// windows of another process: there it passes every event on untouched. (Wine cannot
// run 32-bit programs here, so the procedures are called that way directly.)
class OtherBitness : public HookProcs {
protected:
    void SetUp() override {
        HookProcs::SetUp();
        ASSERT_TRUE(host.ok());
        foreign = host.Create(rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200));
        ASSERT_NE(foreign, nullptr);
    }
    rig::HostProcess host;
    HWND foreign = nullptr;
};

TEST_F(OtherBitness, EventsOfWindowsOfAnotherProcessArePassedOnUntouched) {
    g_shared.MClickTP = 1;
    g_shared.ShadeRight = 1;
    g_shared.MoveTP = 1;
    g_shared.StartButtonTextTP = 1;
    g_shared.WheelTP = 1;
    RECT rc;
    GetWindowRect(foreign, &rc);
    MOUSEHOOKSTRUCT mh = {};
    mh.pt = POINT{rc.left + 50, rc.top + 10};
    mh.hwnd = foreign;
    mh.wHitTestCode = HTCAPTION;
    MouseHookProc(HC_ACTION, WM_NCMBUTTONDOWN, reinterpret_cast<LPARAM>(&mh));
    EXPECT_EQ(MouseHookProc(HC_ACTION, WM_NCRBUTTONDOWN, reinterpret_cast<LPARAM>(&mh)), 0) << "not swallowed";
    for (const UINT message : {WM_MOVING, WM_ACTIVATE, WM_PAINT}) {
        CWPSTRUCT cwp = {0, 0, message, foreign};
        CallWndProcHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
    }
    MSG wheel = {foreign, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(mh.pt.x, mh.pt.y), 0, mh.pt};
    GetMessageHookProc(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&wheel));

    EXPECT_FALSE(rig::IsLayered(foreign));
    EXPECT_EQ(g_shared.MovingActive, 0);
    EXPECT_EQ(wheel.wParam, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)));
    EXPECT_TRUE(program.Messages().empty()) << "a report went to the program";

    // The same events for a window of this process are acted on.
    CWPSTRUCT own = {0, 0, WM_PAINT, window};
    CallWndProcHookProc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&own));
    EXPECT_EQ(program.Count(WM_PAINT_SEEN), 1u);
    g_shared.MoveTP = 0;
    g_shared.StartButtonTextTP = 0;
    g_shared.WheelTP = 0;
    g_shared.MClickTP = 0;
}

}  // namespace
