// Start and end of the program: one running copy per user, a start without the
// library, and what the program does to the shell's taskbar while it runs.
#include <algorithm>

#include "program_fixture.h"

namespace {

class Lifecycle : public ProgramTest {};

TEST_F(Lifecycle, SecondStartWakesTheRunningCopyAndEndsWithoutWriting) {
    rig::Program& first = Start();
    rig::ProgramProbe probe;
    ASSERT_TRUE(probe.ok());
    ASSERT_TRUE(probe.Attach(GetWindowThreadProcessId(first.window(), nullptr)));
    const HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, rig::kInstanceMutex);
    EXPECT_NE(mutex, nullptr);
    if (mutex) CloseHandle(mutex);
    EXPECT_EQ(FindWindowW(nullptr, rig::kHiddenWindowCaption), first.window());
    tray->Clear();

    rig::Program second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(second.WaitExit());
    EXPECT_EQ(second.exitCode(), 0u);

    // The running copy takes it as a double-click on its tray icon.
    ASSERT_TRUE(rig::WaitFor([&] {
        for (const rig::ProbeMessage& m : probe.Messages(first.window(), rig::kTrayNotify))
            if (m.posted && m.wParam == 0 && m.lParam == WM_LBUTTONDBLCLK) return true;
        return false;
    }));
    EXPECT_TRUE(first.running());
    EXPECT_TRUE(tray->Calls().empty()) << "the second copy touched the tray";
    EXPECT_FALSE(rig::settings::SectionExists(rig::settings::kStatus)) << "the second copy wrote its settings";

    Exit();
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(190));
}

TEST_F(Lifecycle, MissingLibraryIsReportedOnceAndTheProgramEndsByItself) {
    rig::TempFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.CopyFromProgramDirectory(rig::kProgramExe));
    {
        rig::Program p(folder.path());
        ASSERT_TRUE(p.Start());
        HWND box = nullptr;
        ASSERT_TRUE(rig::WaitFor([&] { return (box = p.Dialog()) != nullptr || !p.running(); }, 10000));
        ASSERT_NE(box, nullptr) << "no message box";
        EXPECT_EQ(rig::WindowText(box), L"Clarovia");
        const std::vector<std::wstring> texts = rig::ChildTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), L"サポートDLLがロードできませんでした。"), texts.end());

        ASSERT_TRUE(rig::Activate(box));
        rig::KeyPress(VK_RETURN);
        // It ends by itself, and asks nothing more.
        HWND another = nullptr;
        ASSERT_TRUE(rig::WaitFor([&] {
            if (!p.running()) return true;
            another = p.Dialog();
            return another != nullptr && another != box;
        }));
        EXPECT_EQ(another, nullptr) << "a second message box";
        ASSERT_TRUE(p.WaitExit());
        EXPECT_EQ(p.exitCode(), 0u);
        // No icon was added, and none is removed.
        EXPECT_TRUE(tray->Calls().empty());
    }
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(190));
    EXPECT_EQ(rig::settings::String(L"TimeFormat"), std::optional<std::wstring>(L"%y/%m/%d %H:%M:%S"));
}

TEST_F(Lifecycle, LibraryWithoutItsExportsIsAFailedLoadAndAnApplyMeanwhileDoesNothing) {
    rig::TempFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.CopyFromProgramDirectory(rig::kProgramExe));
    // A DLL of that name that is not the hook library.
    ASSERT_TRUE(CopyFileW((rig::ProgramDirectory() + L"rig_probe.dll").c_str(), (folder.path() + L"vitrel.dll").c_str(),
                          FALSE));
    rig::settings::SetDword(L"EnableStartButtonTP", 1);
    {
        rig::Program p(folder.path());
        ASSERT_TRUE(p.Start());
        HWND box = nullptr;
        ASSERT_TRUE(rig::WaitFor([&] { return (box = p.Dialog()) != nullptr || !p.running(); }, 10000));
        ASSERT_NE(box, nullptr) << "no message box";
        const std::vector<std::wstring> texts = rig::ChildTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), L"サポートDLLがロードできませんでした。"), texts.end());
        // The settings sheet's Apply, arriving now, finds no library and does nothing.
        const HWND hidden = FindWindowW(nullptr, rig::kHiddenWindowCaption);
        ASSERT_NE(hidden, nullptr);
        PostMessageW(hidden, rig::kApplySettings, 0, 0);
        ASSERT_TRUE(rig::Activate(box));
        rig::KeyPress(VK_RETURN);
        ASSERT_TRUE(p.WaitExit());
        EXPECT_EQ(p.exitCode(), 0u);
        EXPECT_TRUE(tray->Calls().empty()) << "an apply step ran";
    }
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), std::optional<DWORD>(190));
}

TEST_F(Lifecycle, WithoutItsWindowTheProgramEndsAndLeavesTheNextStartFree) {
    rig::TempFolder folder;
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.CopyFromProgramDirectory(rig::kProgramExe));
    ASSERT_TRUE(folder.CopyFromProgramDirectory(L"vitrel.dll"));
    // A copy of the program whose hidden window names a window class nobody registered.
    const std::wstring exe = folder.path() + rig::kProgramExe;
    std::vector<WORD> dialog = {LOWORD(WS_POPUP), HIWORD(WS_POPUP), 0, 0, 0, 0, 0, 10, 10, 0};
    for (const wchar_t c : std::wstring(L"NoSuchClass")) dialog.push_back(c);
    dialog.insert(dialog.end(), {0, 0});  // end of the class name; an empty title
    const HANDLE update = BeginUpdateResourceW(exe.c_str(), FALSE);
    ASSERT_NE(update, nullptr);
    ASSERT_TRUE(UpdateResourceW(update, RT_DIALOG, MAKEINTRESOURCEW(102), MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),
                                dialog.data(), static_cast<DWORD>(dialog.size() * sizeof(WORD))));
    ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
    {
        rig::Program broken(folder.path());
        ASSERT_TRUE(broken.Start());
        EXPECT_TRUE(broken.WaitExit()) << "it kept running without a window";
    }
    // The lock went with it: the next start is the running copy.
    rig::Program& p = Start();
    EXPECT_TRUE(p.running());
    Exit();
}

// With Wine's own taskbar taking the tray requests.
class Taskbar : public ProgramTest {
protected:
    bool WithTrayStandIn() const override { return false; }
};

TEST_F(Taskbar, TaskbarIsTranslucentWhileTheProgramRuns) {
    const HWND taskbar = ShellTaskbar();
    ASSERT_NE(taskbar, nullptr);
    ASSERT_FALSE(rig::IsLayered(taskbar));
    Start();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(taskbar) == 190; }))
        << "alpha " << rig::LayeredAlpha(taskbar);
    Exit();
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(taskbar); }));
}

TEST_F(Taskbar, TaskbarLevelComesFromTheSettings) {
    const HWND taskbar = ShellTaskbar();
    ASSERT_NE(taskbar, nullptr);
    rig::settings::SetDword(L"TaskbarTPValue", 120);
    Start();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(taskbar) == 120; }))
        << "alpha " << rig::LayeredAlpha(taskbar);
    Exit();
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(taskbar); }));

    rig::settings::SetDword(L"EnableTaskbarTP", 0);
    Start();
    EXPECT_FALSE(rig::IsLayered(taskbar));
    Exit();
}

}  // namespace
