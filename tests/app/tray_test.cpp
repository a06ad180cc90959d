// The tray icon and its menu. The icon's requests go to the test's stand-in for the
// notification area; the menu is the program's real popup menu, opened as the shell
// opens it (the icon's callback message with WM_RBUTTONUP) and worked with real keys.
#include "program_fixture.h"

namespace {

constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr wchar_t kTip[] = L"Clarovia v2.8.2.2";

class Tray : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(probe.ok());
    }

    // Starts the program with the probe on its thread.
    rig::Program& StartProbed() {
        rig::Program& p = Start();
        EXPECT_TRUE(probe.Attach(GetWindowThreadProcessId(p.window(), nullptr)));
        return p;
    }

    // Commands the program's window has taken from its queue so far.
    size_t Commands(UINT id) {
        size_t n = 0;
        for (const rig::ProbeMessage& m : probe.Messages(program->window(), WM_COMMAND))
            if (m.posted && LOWORD(m.wParam) == id) ++n;
        return n;
    }

    static const rig::ProgramProbe::MenuItem* Item(const std::vector<rig::ProgramProbe::MenuItem>& items, UINT id) {
        for (const auto& item : items)
            if (item.id == id && !(item.type & MFT_SEPARATOR)) return &item;
        return nullptr;
    }

    rig::ProgramProbe probe;
};

TEST_F(Tray, IconIsAddedWithTipAndCallbackAndRemovedAtExit) {
    rig::Program& p = Start();
    const std::vector<rig::TrayCall> adds = tray->Calls(NIM_ADD);
    ASSERT_FALSE(adds.empty());
    for (const rig::TrayCall& add : adds) {
        EXPECT_EQ(add.window, p.window());
        EXPECT_EQ(add.sender, p.window());
        EXPECT_EQ(add.id, rig::kTrayIconId);
        EXPECT_EQ(add.flags, kIconFlags);
        EXPECT_EQ(add.callbackMessage, rig::kTrayNotify);
        EXPECT_EQ(add.tip, kTip);
        EXPECT_EQ(add.iconWidth, 16u);
        EXPECT_EQ(add.iconHeight, 16u);
    }
    EXPECT_TRUE(tray->Calls(NIM_DELETE).empty());
    EXPECT_TRUE(tray->Calls(NIM_MODIFY).empty());

    const HWND window = p.window();
    Exit();
    const std::vector<rig::TrayCall> deletes = tray->Calls(NIM_DELETE);
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].window, window);
    EXPECT_EQ(deletes[0].id, rig::kTrayIconId);
}

TEST_F(Tray, IconComesUpOnceATaskbarBusyAtLogOnAnswers) {
    // The shell is busy when the program starts (the Startup shortcut runs at log-on).
    tray->BeBusyFor(3000);
    rig::Program& p = Start();
    EXPECT_TRUE(rig::WaitFor([&] { return !tray->Calls(NIM_ADD).empty(); }, 20000)) << "no icon after log-on";
    ASSERT_FALSE(tray->Calls(NIM_ADD).empty());
    EXPECT_EQ(tray->Calls(NIM_ADD).back().window, p.window());
}

TEST_F(Tray, NoTaskTrayIconRemovesInsteadOfAdding) {
    rig::settings::SetDword(L"NoTaskTrayIcon", 1);
    rig::Program& p = Start();
    EXPECT_TRUE(tray->Calls(NIM_ADD).empty());
    const std::vector<rig::TrayCall> deletes = tray->Calls(NIM_DELETE);
    ASSERT_FALSE(deletes.empty());
    for (const rig::TrayCall& del : deletes) {
        EXPECT_EQ(del.window, p.window());
        EXPECT_EQ(del.id, rig::kTrayIconId);
    }
    Exit();
    EXPECT_TRUE(tray->Calls(NIM_ADD).empty());
    EXPECT_EQ(rig::settings::Dword(L"NoTaskTrayIcon"), std::optional<DWORD>(1));
}

TEST_F(Tray, MenuListsItsItemsAndPauseLocksTheLibraryUntilResumed) {
    rig::Program& p = StartProbed();

    std::vector<rig::ProgramProbe::MenuItem> items;
    ASSERT_NE(OpenTrayMenu(p, probe, &items), nullptr);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0].id, rig::kCmdSettings);
    EXPECT_EQ(items[0].text, L"設定(&S)");
    EXPECT_FALSE(items[0].state & MFS_GRAYED);
    EXPECT_EQ(items[1].id, rig::kCmdMakeRule);  // its label is the rules' test's
    EXPECT_TRUE(items[2].type & MFT_SEPARATOR);
    EXPECT_EQ(items[3].id, rig::kCmdPause);
    EXPECT_EQ(items[3].text, L"一時停止(&R)");
    EXPECT_TRUE(items[4].type & MFT_SEPARATOR);
    EXPECT_EQ(items[5].id, rig::kCmdAbout);
    EXPECT_EQ(items[5].text, L"ﾊﾞｰｼﾞｮﾝ情報(&A)");
    EXPECT_EQ(items[6].id, rig::kCmdExit);
    EXPECT_EQ(items[6].text, L"終了(&X)");
    for (const UINT id : {rig::kCmdPause, rig::kCmdAbout, rig::kCmdExit}) {
        ASSERT_NE(Item(items, id), nullptr);
        EXPECT_FALSE(Item(items, id)->state & MFS_GRAYED) << id;
    }

    // Pause: only the lock changes.
    SharedSettings before;
    CopyMemory(&before, const_cast<SharedSettings*>(&shared()), sizeof before);
    ASSERT_EQ(before.Locked, 0);
    rig::KeyPress('R');
    ASSERT_TRUE(rig::WaitFor([&] { return shared().Locked == 1; }));
    EXPECT_TRUE(rig::WaitFor([&] { return !p.Menu(); }));
    SharedSettings paused;
    CopyMemory(&paused, const_cast<SharedSettings*>(&shared()), sizeof paused);
    paused.Locked = before.Locked;
    EXPECT_EQ(memcmp(&paused, &before, sizeof before), 0) << "pausing changed more than the lock";

    // While paused the settings item is grey and the pause item offers to resume.
    ASSERT_NE(OpenTrayMenu(p, probe, &items), nullptr);
    ASSERT_NE(Item(items, rig::kCmdSettings), nullptr);
    EXPECT_TRUE(Item(items, rig::kCmdSettings)->state & MFS_GRAYED);
    ASSERT_NE(Item(items, rig::kCmdPause), nullptr);
    EXPECT_EQ(Item(items, rig::kCmdPause)->text, L"再開(&R)");
    EXPECT_FALSE(Item(items, rig::kCmdPause)->state & MFS_GRAYED);

    rig::KeyPress('R');
    ASSERT_TRUE(rig::WaitFor([&] { return shared().Locked == 0; }));
    EXPECT_TRUE(rig::WaitFor([&] { return !p.Menu(); }));
    EXPECT_EQ(Commands(rig::kCmdPause), 2u);

    ASSERT_NE(OpenTrayMenu(p, probe, &items), nullptr);
    ASSERT_NE(Item(items, rig::kCmdSettings), nullptr);
    EXPECT_FALSE(Item(items, rig::kCmdSettings)->state & MFS_GRAYED);
    ASSERT_NE(Item(items, rig::kCmdPause), nullptr);
    EXPECT_EQ(Item(items, rig::kCmdPause)->text, L"一時停止(&R)");

    // Esc closes the menu without a command.
    ASSERT_TRUE(p.CloseMenu());
    EXPECT_EQ(Commands(rig::kCmdPause), 2u);
    EXPECT_EQ(shared().Locked, 0);
    EXPECT_TRUE(p.running());
}

TEST_F(Tray, AboutBoxShowsTheLibraryVersion) {
    rig::Program& p = StartProbed();
    ASSERT_NE(OpenTrayMenu(p, probe), nullptr);
    rig::KeyPress('A');
    HWND about = nullptr;
    ASSERT_TRUE(rig::WaitFor([&] { return (about = p.Dialog()) != nullptr; }));
    EXPECT_EQ(rig::WindowText(about), L"Clarovia");
    const HWND version = GetDlgItem(about, 1000);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(rig::WindowText(version), L"vitrel.dll v2.7.5");

    // Enter on the modal box closes it; the program runs on.
    ASSERT_TRUE(rig::Activate(about));
    rig::KeyPress(VK_RETURN);
    EXPECT_TRUE(rig::WaitFor([&] { return !IsWindow(about); }));
    EXPECT_TRUE(p.running());
    EXPECT_EQ(Commands(rig::kCmdAbout), 1u);
}

TEST_F(Tray, ExitItemEndsTheProgramWhichRemovesItsIconAndSavesItsSettings) {
    rig::settings::SetDword(L"WheelStep", 9);
    rig::Program& p = StartProbed();
    ASSERT_NE(OpenTrayMenu(p, probe), nullptr);
    rig::KeyPress('X');
    ASSERT_TRUE(p.WaitExit());
    EXPECT_EQ(p.exitCode(), 0u);
    ASSERT_EQ(tray->Calls(NIM_DELETE).size(), 1u);
    EXPECT_EQ(tray->Calls(NIM_DELETE)[0].id, rig::kTrayIconId);
    EXPECT_EQ(rig::settings::Dword(L"WheelStep"), std::optional<DWORD>(9));
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(190));
}

}  // namespace
