// The library's control API and reports, seen from the program's side: a window of
// this test plays the program window, the windows acted on live in another process.
#include <gtest/gtest.h>

#include "rig.h"
#include "settings_table.h"
#include "vitrel_library.h"

namespace {

using rig::HookSession;
using rig::HostProcess;
using rig::Recorder;
using rig::VitrelLibrary;
using rig::WindowSpec;

class ControlApi : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.ok());
        ASSERT_TRUE(host.ok());
        ASSERT_NE(program.hwnd(), nullptr);
    }

    // Turns every report flag on, so that only the lock can keep reports back.
    void AllReportsOn() {
        lib.EnableOverlapTP(1);
        lib.EnableStartButtonTextTP(1);
    }

    // Sends what the call-window-proc hook reports on. Sending is synchronous, so
    // whatever the hook posts is queued here when this returns.
    void SendReportedMessages(HWND window) {
        SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
        SendMessageW(window, WM_PAINT, 0, 0);
        SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
    }

    VitrelLibrary lib;
    Recorder program;
    HostProcess host;
};

TEST_F(ControlApi, SettersStoreTheirArgumentUnchanged) {
    // Every setter of the settings table, and the lock.
    struct Setter {
        const char* name;
        vitrel::IntFn fn;
        int32_t SharedSettings::*field;
    };
#define SETTER_ROW(name, initial, low, high, setter, ordinal, field, ...) \
    Setter{#setter, lib.setter, &SharedSettings::field},
    const Setter setters[] = {
        CLAROVIA_SETTINGS(SETTER_ROW, SETTER_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW, CLAROVIA_NO_ROW,
                          CLAROVIA_NO_ROW) Setter{"LockMessage", lib.LockMessage, &SharedSettings::Locked}};
#undef SETTER_ROW
    // Out-of-range values are stored as given: the setters check nothing.
    for (const int value : {0, 1, 7, 255, 300, -5, 100000}) {
        for (const Setter& s : setters) {
            ASSERT_NE(s.fn, nullptr) << s.name;
            EXPECT_EQ(s.fn(value), value) << s.name;
            EXPECT_EQ(lib.shared().*(s.field), value) << s.name;
        }
    }
    lib.Reset();
}

TEST_F(ControlApi, NothingIsPostedBeforeUnlockOrWhilePaused) {
    AllReportsOn();
    HookSession session(lib, program.hwnd(), /*unlock=*/false);
    ASSERT_EQ(lib.shared().Locked, 1);

    const HWND window = host.Create(WindowSpec{});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(rig::Activate(window));
    ASSERT_TRUE(rig::WaitFor([&] { return !host.Log(window, WM_ACTIVATE).empty(); }));
    SendReportedMessages(window);
    EXPECT_TRUE(program.Messages().empty()) << program.Messages().size() << " messages before unlock";

    // Unlocked, then paused again: still nothing.
    lib.LockMessage(0);
    lib.LockMessage(1);
    const HWND second = host.Create(WindowSpec{});
    ASSERT_TRUE(rig::Activate(second));
    ASSERT_TRUE(rig::WaitFor([&] { return !host.Log(second, WM_ACTIVATE).empty(); }));
    SendReportedMessages(second);
    EXPECT_TRUE(program.Messages().empty()) << program.Messages().size() << " messages while paused";
}

TEST_F(ControlApi, ActivatingAWindowOfAnotherProcessIsReported) {
    HookSession session(lib, program.hwnd());
    const HWND window = host.Create(WindowSpec{});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(rig::Activate(window));
    EXPECT_TRUE(rig::WaitFor([&] { return program.Count(WM_WINDOW_EVENT, (WPARAM)window, WM_ACTIVATE) > 0; }));
}

TEST_F(ControlApi, EndOfMoveIsReportedOnlyWhileOverlapIsOn) {
    HookSession session(lib, program.hwnd());
    const HWND window = host.Create(WindowSpec{});
    ASSERT_NE(window, nullptr);

    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(program.Count(WM_WINDOW_EVENT, (WPARAM)window, WM_EXITSIZEMOVE), 0u);

    lib.EnableOverlapTP(1);
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(program.Count(WM_WINDOW_EVENT, (WPARAM)window, WM_EXITSIZEMOVE), 1u);

    lib.EnableOverlapTP(0);
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(program.Count(WM_WINDOW_EVENT, (WPARAM)window, WM_EXITSIZEMOVE), 1u);
}

TEST_F(ControlApi, CaptionlessWindowIsReportedNeitherOnActivationNorOnEndOfMove) {
    lib.EnableOverlapTP(1);
    HookSession session(lib, program.hwnd());
    WindowSpec layout;
    layout.style = WS_POPUP | WS_VISIBLE;
    const HWND popup = host.Create(layout);
    ASSERT_NE(popup, nullptr);

    ASSERT_TRUE(rig::Activate(popup));
    ASSERT_TRUE(rig::WaitFor([&] { return !host.Log(popup, WM_ACTIVATE).empty(); }));
    SendMessageW(popup, WM_EXITSIZEMOVE, 0, 0);
    SendMessageW(popup, WM_ACTIVATE, WA_ACTIVE, 0);
    for (const Recorder::Message& m : program.Messages())
        EXPECT_FALSE(m.message == WM_WINDOW_EVENT && m.wParam == (WPARAM)popup) << "lParam " << m.lParam;
}

TEST_F(ControlApi, PaintIsReportedOnlyWhileStartButtonTextIsOn) {
    HookSession session(lib, program.hwnd());
    const HWND window = host.Create(WindowSpec{});
    ASSERT_NE(window, nullptr);

    SendMessageW(window, WM_PAINT, 0, 0);
    EXPECT_EQ(program.Count(WM_PAINT_SEEN), 0u);

    lib.EnableStartButtonTextTP(1);
    program.Clear();
    SendMessageW(window, WM_PAINT, 0, 0);
    EXPECT_GE(program.Count(WM_PAINT_SEEN, 0, 0), 1u);
    for (const Recorder::Message& m : program.Messages()) {
        if (m.message == WM_PAINT_SEEN) { EXPECT_TRUE(m.wParam == 0 && m.lParam == 0); }
    }

    lib.EnableStartButtonTextTP(0);
    program.Clear();
    SendMessageW(window, WM_PAINT, 0, 0);
    host.Flush();
    EXPECT_EQ(program.Count(WM_PAINT_SEEN), 0u);
}

TEST_F(ControlApi, NewTopLevelWindowIsReported) {
    HookSession session(lib, program.hwnd());
    const HWND window = host.Create(WindowSpec{});
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(rig::WaitFor([&] { return program.Count(WM_WINDOW_CREATED, (WPARAM)window, 0) == 1; }));
}

TEST_F(ControlApi, EndThenStartInstallsFiveNewHooksAndKeepsSettings) {
    lib.SetClaroviaValue(77);
    lib.EnableSClickTP(1);
    lib.ShadeArea(2);
    lib.SetMoveTPW(640);

    const HHOOK shell = lib.Start(program.hwnd());
    EXPECT_EQ(reinterpret_cast<uintptr_t>(shell), static_cast<uint32_t>(lib.shared().ShellHook));
    const uint32_t first[5] = {lib.shared().MouseHook, lib.shared().CallWndProcHook, lib.shared().KeyboardHook,
                               lib.shared().GetMessageHook, lib.shared().ShellHook};
    for (uint32_t h : first) EXPECT_NE(h, 0u);

    EXPECT_TRUE(lib.End());
    lib.Start(program.hwnd());
    const uint32_t second[5] = {lib.shared().MouseHook, lib.shared().CallWndProcHook, lib.shared().KeyboardHook,
                                lib.shared().GetMessageHook, lib.shared().ShellHook};
    // Under Wine a hook unhooked while its chain is in use is only marked, and its handle
    // stays good until the chain is left; for a 32-bit program on 64-bit Windows the
    // chain is nearly always in use: the 64-bit programs' calls of its hooks wait,
    // marshalled, on this thread. There the handles cannot tell.
    BOOL wow64 = FALSE;
    IsWow64Process(GetCurrentProcess(), &wow64);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(second[i], 0u) << "hook " << i;
        // The old hooks are gone: unhooking them again fails.
        if (!wow64) {
            EXPECT_FALSE(UnhookWindowsHookEx(reinterpret_cast<HHOOK>(static_cast<uintptr_t>(first[i]))))
                << "hook " << i;
        }
    }
    EXPECT_EQ(lib.shared().ClaroviaValue, 77);
    EXPECT_EQ(lib.shared().SClickTP, 1);
    EXPECT_EQ(lib.shared().ShadeArea, 2);
    EXPECT_EQ(lib.shared().MoveTPW, 640);

    // The new hooks act: an activation is reported.
    lib.LockMessage(0);
    const HWND window = host.Create(WindowSpec{});
    ASSERT_TRUE(rig::Activate(window));
    EXPECT_TRUE(rig::WaitFor([&] { return program.Count(WM_WINDOW_EVENT, (WPARAM)window, WM_ACTIVATE) > 0; }));
    lib.LockMessage(1);
    EXPECT_TRUE(lib.End());
}

}  // namespace
