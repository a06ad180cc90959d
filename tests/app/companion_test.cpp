// The 64-bit program's companion for 32-bit programs, started from a folder laid out as
// the x64 package is (x86\Clarovia32.exe and x86\vitrel32.dll beside the program). Where
// 32-bit code runs, the real companion serves 32-bit windows beside 64-bit ones; on
// every machine this build's own companion stands in, with a library copy whose record
// is its own, for what does not depend on the width: one companion, the settings at
// every apply and pause, its end with the program, its restart, a part missing.
#include <windows.h>

#include <memory>
#include <string_view>

#include "companion_protocol.h"
#include "notepad.h"
#include "program_fixture.h"

namespace {

using rig::CompanionPids;

void Kill(DWORD pid) {
    if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

class Companion : public ProgramTest {
protected:
    void SetUp() override {
        if (sizeof(void*) != 8) GTEST_SKIP() << "only the 64-bit program has a companion";
        ProgramTest::SetUp();
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.CopyFromProgramDirectory(L"Clarovia.exe"));
        ASSERT_TRUE(folder.CopyFromProgramDirectory(L"vitrel.dll"));
    }
    void TearDown() override {
        if (sizeof(void*) != 8) return;
        ProgramTest::TearDown();
        for (const DWORD pid : CompanionPids()) Kill(pid);
    }

    // x86\: this build's companion and a copy of its library (every machine), or the
    // i686 build's (where 32-bit code runs, else false).
    bool LayOut(bool real) {
        const std::wstring from = real ? rig::OtherWidthFolder() : rig::ProgramDirectory();
        if (from.empty()) return false;
        return folder.CopyIn(from + companion::kExe, L"x86\\Clarovia32.exe") &&
               folder.CopyIn(from + L"vitrel.dll", L"x86\\vitrel32.dll");
    }

    rig::Program& StartFromFolder() {
        program = std::make_unique<rig::Program>(folder.path());
        EXPECT_TRUE(program->Run()) << "Clarovia.exe did not come up";
        return *program;
    }

    // The one companion, once it runs (0 if none comes, or more than one).
    DWORD WaitCompanion(DWORD timeoutMs = 5000) {
        std::vector<DWORD> pids;
        rig::WaitFor([&] { return (pids = CompanionPids()).size() == 1; }, timeoutMs);
        return pids.size() == 1 ? pids[0] : 0;
    }

    // Kills the program; then takes away the hooks of its library copy, as Windows does
    // with the hooks of a thread that ends (Wine keeps them, and they would act in the
    // tests after this one).
    void KillProgram() {
        TerminateProcess(program->process(), 1);
        EXPECT_TRUE(program->WaitExit());
        rig::VitrelLibrary own(folder.path() + L"vitrel.dll", false);
        own.LockMessage(1);
        own.End();
    }

    // The line under the about box's controls ("" if none).
    std::wstring AboutProblem() {
        PostMessageW(program->window(), WM_COMMAND, rig::kCmdAbout, 0);
        HWND about = nullptr;
        EXPECT_TRUE(rig::WaitFor([&] { return (about = program->Dialog()) != nullptr; }));
        if (!about) return L"?";
        const HWND line = GetDlgItem(about, IDC_COMPANION_PROBLEM);
        const std::wstring text = line ? rig::WindowText(line) : std::wstring();
        PostMessageW(about, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(rig::WaitFor([&] { return !IsWindow(about); }));
        return text;
    }

    // A middle click on the title bar of a window of `owner`: true once the window has
    // had it and changed from opaque to translucent or back. A click that came while
    // the companion was not ready yet changed nothing, and is made again. Each click
    // lands beside the one before, so that none makes a double-click.
    bool MiddleClickToggles(const rig::HostProcess& owner, HWND window) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            const bool was = rig::IsLayered(window);
            const size_t before = owner.Log(window, WM_NCMBUTTONDOWN).size();
            const POINT caption = rig::CaptionPoint(window, 100 + 12 * (clicks_++ % 8));
            rig::MiddleClick(caption.x, caption.y);
            if (!rig::WaitReceived(owner, window, WM_NCMBUTTONDOWN, before + 1)) return false;
            if (rig::IsLayered(window) != was) return true;
        }
        return false;
    }

    rig::TempFolder folder{L"-x64"};
    int clicks_ = 0;
};

// Every field the program gives its own library but the taskbar's, which it alone
// applies; the hooks' own state aside.
bool SameSettings(volatile SharedSettings& a, volatile SharedSettings& b, std::string* which) {
#define VITREL_SHARED_FIELD(type, name, initial)                                                               \
    if (std::string_view(#name).ends_with("Hook") || std::string_view(#name).ends_with("LayeredFn") ||        \
        std::string_view(#name).ends_with("Active") || std::string_view(#name) == "WheelLevel" ||             \
        std::string_view(#name) == "TaskbarTP" || std::string_view(#name) == "StartMenuTP") {                 \
    } else if (a.name != b.name) {                                                                            \
        *which = #name;                                                                                        \
        return false;                                                                                          \
    }
    VITREL_SHARED_FIELDS
#undef VITREL_SHARED_FIELD
    return true;
}

TEST_F(Companion, OneFollowsEveryApplyAndPauseComesBackWhenKilledAndEndsWithTheProgram) {
    ASSERT_TRUE(LayOut(false));
    rig::settings::SetDword(L"EnableSClickTP", 1);
    rig::settings::SetDword(L"ClaroviaValue", 150);
    rig::settings::SetDword(L"EnableShadeTP", 1);
    rig::settings::SetDword(L"EnableTaskbarTP", 1);
    StartFromFolder();
    const DWORD first = WaitCompanion();
    ASSERT_NE(first, 0u) << "not exactly one companion";
    rig::VitrelLibrary own(folder.path() + L"vitrel.dll", false), other(folder.path() + L"x86\\vitrel32.dll", false);
    ASSERT_TRUE(own.ok() && other.ok());
    std::string which;
    const auto same = [&] { return SameSettings(own.shared(), other.shared(), &which); };
    EXPECT_TRUE(rig::WaitFor(same)) << which;
    EXPECT_EQ(other.shared().ClaroviaValue, 150);
    EXPECT_EQ(other.shared().ProgramWindow, static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(program->window())));
    EXPECT_EQ(other.shared().TaskbarTP, 0) << "the taskbar is the program's alone";

    // Each apply and each pause reaches it (a value spoilt meanwhile comes back).
    other.shared().ClaroviaValue = 7;
    PostMessageW(program->window(), rig::kApplySettings, 0, 0);
    EXPECT_TRUE(rig::WaitFor(same)) << which;
    for (const int locked : {1, 0}) {
        PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
        EXPECT_TRUE(rig::WaitFor([&] { return own.shared().Locked == locked && other.shared().Locked == locked; }))
            << locked;
    }

    // A second one for the same program ends at once; a shell restart starts none.
    wchar_t command[64];
    wsprintfW(command, L"x %lu %lu", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(program->window())),
              program->pid());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const std::wstring exe = folder.path() + L"x86\\Clarovia32.exe";
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, companion::kExitDuplicate);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    PostMessageW(program->window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(rig::WaitFor([] { return CompanionPids().size() > 1; }, 1000));

    // Killed, it comes back after a second and is told everything again; killed again
    // at once, it waits longer.
    Kill(first);
    other.shared().ClaroviaValue = 7;
    const DWORD second = WaitCompanion();
    ASSERT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_TRUE(rig::WaitFor(same)) << which;
    Kill(second);
    EXPECT_FALSE(rig::WaitFor([] { return !CompanionPids().empty(); }, 1500)) << "no pause before a second restart";
    EXPECT_NE(WaitCompanion(), 0u);

    // It ends with the program: at its exit, and when it is killed.
    Exit();
    EXPECT_TRUE(rig::WaitFor([] { return CompanionPids().empty(); }, 2000));
    program.reset();
    StartFromFolder();
    ASSERT_NE(WaitCompanion(), 0u);
    KillProgram();
    EXPECT_TRUE(rig::WaitFor([] { return CompanionPids().empty(); }, 2000)) << "a killed program left its companion";
}

void WriteText(const std::wstring& path, const char* text) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

TEST_F(Companion, AMissingOrDamagedPartLeavesTheProgramWorkingAndIsSaidInTheAboutBox) {
    const struct {
        bool laidOut;
        const char* exe;      // x86\Clarovia32.exe replaced by this
        const char* library;  // x86\vitrel32.dll replaced by this
        const wchar_t* said;
    } cases[] = {
        {false, nullptr, nullptr, L"32ビットのプログラムには効いていません: x86\\Clarovia32.exe がありません。"},
        {true, nullptr, "MZ", L"32ビットのプログラムには効いていません: x86\\vitrel32.dll がロードできませんでした。"},
        {true, "MZ", nullptr, L"32ビットのプログラムには効いていません: x86\\Clarovia32.exe が起動できません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (&c - cases));
        if (c.laidOut) {
            ASSERT_TRUE(LayOut(false));
        }
        if (c.exe) WriteText(folder.path() + L"x86\\Clarovia32.exe", c.exe);
        if (c.library) WriteText(folder.path() + L"x86\\vitrel32.dll", c.library);
        StartFromFolder();
        // No message box: the program runs on with its own library.
        rig::VitrelLibrary own(folder.path() + L"vitrel.dll", false);
        EXPECT_TRUE(rig::WaitFor([&] { return own.shared().Locked == 0; }));
        EXPECT_TRUE(rig::WaitFor([&] { return CompanionPids().empty(); }));
        EXPECT_EQ(program->Dialog(), nullptr);
        EXPECT_EQ(AboutProblem(), c.said);
        EXPECT_TRUE(CompanionPids().empty()) << "started again after an end that would only repeat";
        Exit();
        program.reset();
    }
    // With every part in place, nothing is said.
    ASSERT_TRUE(LayOut(false));
    StartFromFolder();
    ASSERT_NE(WaitCompanion(), 0u);
    rig::VitrelLibrary other(folder.path() + L"x86\\vitrel32.dll", false);
    ASSERT_TRUE(rig::WaitFor([&] { return other.shared().Locked == 0; }));
    EXPECT_EQ(AboutProblem(), L"");
}

TEST_F(Companion, ThirtyTwoBitWindowsAnswerEveryGestureAndAKilledCompanionComesBack) {
    if (!LayOut(true)) GTEST_SKIP() << "no 32-bit programs run here";
    const std::wstring notepad = rig::OtherWidthNotepad();
    ASSERT_FALSE(notepad.empty());
    rig::settings::SetDword(L"EnableSClickTP", 1);
    rig::settings::SetDword(L"EnableMClickTP", 1);
    rig::settings::SetDword(L"ClaroviaValue", 150);
    rig::settings::SetDword(L"EnableShadeTP", 1);
    rig::settings::SetDword(L"EnableTopmostTP", 1);
    rig::settings::SetDword(L"EnableWheelTP", 1);
    rig::settings::SetDword(L"WheelStep", 20);
    rig::settings::SetDword(L"EnableMoveTP", 1);
    rig::settings::SetDword(L"MoveTPValue", 180);
    // A rule for Wine's notepad, whose window comes after the program.
    rig::settings::SetString(L"Program", L"notepad.exe", L"Rules\\0");
    rig::settings::SetString(L"Class", L"", L"Rules\\0");
    rig::settings::SetDword(L"Level", 120, L"Rules\\0");
    rig::settings::SetDword(L"OnTop", 0, L"Rules\\0");
    StartFromFolder();
    ASSERT_NE(WaitCompanion(), 0u);

    rig::HostProcess host32(rig::OtherWidthFolder(), L"rig_target.exe");
    ASSERT_TRUE(host32.ok());
    rig::WindowSpec layout = rig::Layout(L"RigWindow", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 80, 400, 260);
    layout.title = L"Thirty-two";
    const HWND narrow = host32.Create(layout);
    const HWND wide = Make(L"Sixty-four", 520, 80, 400, 260);
    ASSERT_TRUE(narrow && wide);
    ASSERT_TRUE(rig::OfOtherWidth(narrow));
    // Once the companion has its settings, the middle click takes effect; paused, none
    // does, and resumed they do again.
    ASSERT_TRUE(MiddleClickToggles(host32, narrow));
    rig::VitrelLibrary own(folder.path() + L"vitrel.dll", false);
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
    ASSERT_TRUE(rig::WaitFor([&] { return own.shared().Locked == 1; }));
    {
        const size_t before = host32.Log(narrow, WM_NCMBUTTONDOWN).size();
        const POINT caption = rig::CaptionPoint(narrow, 240);
        rig::MiddleClick(caption.x, caption.y);
        ASSERT_TRUE(rig::WaitReceived(host32, narrow, WM_NCMBUTTONDOWN, before + 1));
        EXPECT_TRUE(rig::IsLayered(narrow)) << "a gesture while paused";
    }
    PostMessageW(program->window(), WM_COMMAND, rig::kCmdPause, 0);
    ASSERT_TRUE(rig::WaitFor([&] { return own.shared().Locked == 0; }));
    ASSERT_TRUE(MiddleClickToggles(host32, narrow));

    {
        const HWND window = narrow;
        const rig::HostProcess& owner = host32;
        // Dragged by its title bar: translucent while it moves, opaque again after.
        ASSERT_TRUE(rig::Activate(window));
        const POINT from = rig::CaptionPoint(window, 80);
        const size_t moving = owner.Log(window, WM_MOVING).size();
        rig::LeftDown(from.x, from.y);
        // A few pixels at a time, each step waited for, so that it does not end up far
        // away over the windows below.
        bool moved = false;
        for (int step = 1; step <= 10 && !moved; ++step) {
            rig::MoveMouse(from.x + 6 * step, from.y + 4 * step);
            moved = rig::WaitFor([&] { return owner.Log(window, WM_MOVING).size() > moving; }, 500);
        }
        EXPECT_TRUE(moved);
        EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 180; })) << rig::LayeredAlpha(window);
        POINT end;
        GetCursorPos(&end);
        rig::LeftUp(end.x, end.y);
        EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(window); }));
        // Shift+click: the level; middle click: opaque again.
        ASSERT_TRUE(rig::ClickHolding(owner, window, rig::CaptionPoint(window, 60), {"shift"}));
        EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 150; })) << rig::LayeredAlpha(window);
        EXPECT_TRUE(MiddleClickToggles(owner, window));
        EXPECT_FALSE(rig::IsLayered(window));
        // The wheel on the title bar of the active window: the first notch down makes
        // it layered, the second a step less opaque.
        ASSERT_TRUE(rig::Activate(window));
        const POINT caption = rig::CaptionPoint(window, 200);
        rig::Wheel(caption.x, caption.y, -WHEEL_DELTA);
        EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 255; })) << rig::LayeredAlpha(window);
        rig::Wheel(caption.x, caption.y, -WHEEL_DELTA);
        EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(window) == 235; })) << rig::LayeredAlpha(window);
        // Ctrl+click: always on top.
        ASSERT_TRUE(rig::ClickHolding(owner, window, rig::CaptionPoint(window, 240), {"ctrl"}));
        EXPECT_TRUE(rig::WaitFor([&] { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }));
        // A double-click on the left half of the title bar rolls it up.
        RECT before = {};
        GetWindowRect(window, &before);
        const POINT roll = rig::CaptionPoint(window, 150);
        rig::DoubleClick(roll.x, roll.y);
        EXPECT_TRUE(rig::WaitFor([&] {
            RECT rc;
            return !IsIconic(window) && GetWindowRect(window, &rc) && rc.bottom - rc.top < (before.bottom - before.top) / 2;
        })) << "not rolled up";
    }

    // The 64-bit window beside it takes no harm from the 32-bit library: under Wine a
    // hook whose library cannot be loaded in a process ends that process's hook chain
    // (Windows calls it in its owner's thread and goes on), so with the companion's hooks
    // set last Wine gives 64-bit windows no gesture; its program runs on unhurt.
    ASSERT_TRUE(rig::ClickHolding(host, wide, rig::CaptionPoint(wide, 60), {"shift"}));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutW(wide, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
    EXPECT_TRUE(host.ok());

    // Wine's own 32-bit notepad too.
    const rig::Notepad pad(notepad);
    ASSERT_NE(pad.window(), nullptr);
    SetWindowPos(pad.window(), HWND_TOP, 40, 420, 400, 240, SWP_NOACTIVATE);
    ASSERT_TRUE(rig::WaitFor([&] {
        RECT rc;
        return GetWindowRect(pad.window(), &rc) && rc.left == 40 && rc.top == 420;
    }));
    // Its rule gave its new window the rule's level; a middle click makes it opaque.
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(pad.window()) == 120; }))
        << rig::LayeredAlpha(pad.window());
    const POINT padCaption = rig::CaptionPoint(pad.window(), 60);
    rig::MiddleClick(padCaption.x, padCaption.y);
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(pad.window()); }));

    // The companion killed comes back, and the 32-bit window answers again.
    layout.x = 560;
    layout.y = 440;
    const HWND again = host32.Create(layout);
    ASSERT_NE(again, nullptr);
    Kill(WaitCompanion());
    ASSERT_NE(WaitCompanion(), 0u);
    EXPECT_TRUE(MiddleClickToggles(host32, again)) << "no gesture after the companion came back";

    // Its exit gives back the 32-bit window it rolled up, and ends the companion.
    Exit();
    EXPECT_TRUE(rig::WaitFor([] { return CompanionPids().empty(); }, 2000));
    RECT rolled = {};
    EXPECT_TRUE(rig::WaitFor([&] { return GetWindowRect(narrow, &rolled) && rolled.bottom - rolled.top == 260; }))
        << "not rolled down at the exit: " << rolled.bottom - rolled.top << " high, iconic " << IsIconic(narrow)
        << ", zoomed " << IsZoomed(narrow);

    // The program killed: within 2 s no 32-bit hooks are left.
    program.reset();
    StartFromFolder();
    ASSERT_NE(WaitCompanion(), 0u);
    ASSERT_TRUE(MiddleClickToggles(host32, again));
    KillProgram();
    EXPECT_TRUE(rig::WaitFor([] { return CompanionPids().empty(); }, 2000));
    const bool was = rig::IsLayered(again);
    const size_t before = host32.Log(again, WM_NCMBUTTONDOWN).size();
    const POINT caption = rig::CaptionPoint(again, 60);
    rig::MiddleClick(caption.x, caption.y);
    ASSERT_TRUE(rig::WaitReceived(host32, again, WM_NCMBUTTONDOWN, before + 1));
    EXPECT_EQ(rig::IsLayered(again), was);
}

}  // namespace
