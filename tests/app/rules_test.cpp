// Rules per program, on real programs: Wine's notepad and the rig's window host. A rule
// is written to the registry as a user's earlier run left it (or made by the tray item),
// and the windows are judged by what they show: layered at the rule's level, on top.
#include "notepad.h"
#include "program_fixture.h"

namespace {

constexpr wchar_t kHostExe[] = L"rig_target.exe";

std::wstring RuleSection(int index) { return L"Rules\\" + std::to_wstring(index); }

void WriteRule(int index, const std::wstring& program, const std::wstring& cls, DWORD level, DWORD onTop) {
    const std::wstring section = RuleSection(index);
    rig::settings::SetString(L"Program", program, section.c_str());
    rig::settings::SetString(L"Class", cls, section.c_str());
    rig::settings::SetDword(L"Level", level, section.c_str());
    rig::settings::SetDword(L"OnTop", onTop, section.c_str());
}

bool IsOnTop(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

class Rules : public ProgramTest {
protected:
    rig::ProgramProbe probe;
};

TEST_F(Rules, NotepadsOpenBeforeTheStartAndAfterComeUpAtTheRulesLevelAndAGestureStillToggles) {
    // As Windows compares file names: the rule's case is not the file's.
    WriteRule(0, L"NOTEPAD.EXE", L"", 150, 0);
    const rig::Notepad before;
    ASSERT_NE(before.window(), nullptr) << "no notepad";
    Start();
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(before.window()) == 150; }))
        << "the notepad open at the start: " << rig::LayeredAlpha(before.window());

    const rig::Notepad after;
    ASSERT_NE(after.window(), nullptr) << "no notepad";
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(after.window()) == 150; }))
        << "the notepad opened afterwards: " << rig::LayeredAlpha(after.window());
    EXPECT_FALSE(IsOnTop(after.window()));

    // The rule used the gestures' primitive: a wheel click on the title bar makes it opaque.
    const POINT caption = rig::CaptionPoint(after.window());
    rig::MiddleClick(caption.x, caption.y);
    EXPECT_TRUE(rig::WaitFor([&] { return !rig::IsLayered(after.window()); })) << "the gesture did not toggle";
}

TEST_F(Rules, AClassRuleComesBeforeTheProgramsAndFilteredClassesAreLeftAlone) {
    WriteRule(0, rig::kNotepadExe, L"", 120, 0);
    WriteRule(1, rig::kNotepadExe, rig::kNotepadClass, 0, 1);  // on top only, for notepad's own class
    WriteRule(2, kHostExe, L"", 200, 0);
    WriteRule(3, kHostExe, L"Other", 90, 0);
    rig::settings::SetString(L"0", L"Filtered", rig::settings::kClassFilter);
    Start();

    const rig::Notepad notepad;
    ASSERT_NE(notepad.window(), nullptr) << "no notepad";
    EXPECT_TRUE(rig::WaitFor([&] { return IsOnTop(notepad.window()); })) << "the on-top rule did not apply";
    EXPECT_FALSE(rig::IsLayered(notepad.window())) << "the program's rule applied over its class's";

    // The host's windows report their creation in order: once the last is done, so are the others.
    const HWND filtered = Make(L"filtered", 100, 100, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"Filtered");
    const HWND other = Make(L"other", 140, 140, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, L"Other");
    const HWND popup = Make(L"no caption", 160, 160, 300, 200, WS_POPUP | WS_VISIBLE);
    const HWND plain = Make(L"plain", 180, 180, 300, 200);
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(plain) == 200; })) << rig::LayeredAlpha(plain);
    EXPECT_EQ(rig::LayeredAlpha(other), 90);
    EXPECT_FALSE(rig::IsLayered(filtered)) << "a window of the class filter was changed";
    EXPECT_FALSE(rig::IsLayered(popup)) << "a window without a title bar was changed";
    EXPECT_FALSE(IsOnTop(plain));
}

TEST_F(Rules, BadEntriesAreSkippedAndWhatIsWrittenBackHoldsTheGoodOnesUpToSixtyFour) {
    WriteRule(0, rig::kNotepadExe, L"", 150, 0);
    WriteRule(1, L"type.exe", L"", 150, 0);
    rig::settings::SetString(L"Level", L"150", RuleSection(1).c_str());  // a level of the wrong type
    WriteRule(2, L"range.exe", L"", 300, 0);
    WriteRule(3, std::wstring(260, L'n') + L".exe", L"", 100, 0);
    WriteRule(4, L"Notepad.EXE", L"", 90, 0);  // the same program and class again
    rig::settings::SetDword(L"Program", 5, RuleSection(5).c_str());
    WriteRule(6, L"nothing.exe", L"", 0, 0);
    WriteRule(7, L"C:\\path\\to.exe", L"", 100, 0);
    WriteRule(8, L"ontop.exe", L"", 0, 2);
    rig::settings::SetString(L"Program", L"kept.exe", L"Rules\\note");  // not an entry's name
    for (int i = 10; i < 80; ++i) WriteRule(i, L"p" + std::to_wstring(i) + L".exe", L"", 100, 0);
    rig::settings::SetString(L"Note", L"inside", L"Rules\\79\\inner");  // goes with its entry all the same
    Start();
    // The good rule works.
    const rig::Notepad notepad;
    ASSERT_NE(notepad.window(), nullptr) << "no notepad";
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(notepad.window()) == 150; }));
    Exit();

    EXPECT_EQ(rig::settings::String(L"Program", RuleSection(0).c_str()), std::optional<std::wstring>(rig::kNotepadExe));
    EXPECT_EQ(rig::settings::Dword(L"Level", RuleSection(0).c_str()), std::optional<DWORD>(150));
    for (int i = 1; i < 64; ++i) {
        EXPECT_EQ(rig::settings::String(L"Program", RuleSection(i).c_str()),
                  std::optional<std::wstring>(L"p" + std::to_wstring(i + 9) + L".exe"))
            << i;
    }
    for (int i = 64; i < 80; ++i) EXPECT_FALSE(rig::settings::SectionExists(RuleSection(i).c_str())) << i;
    EXPECT_EQ(rig::settings::String(L"Program", L"Rules\\note"), std::optional<std::wstring>(L"kept.exe"));
}

TEST_F(Rules, TheTrayItemMakesTheRuleOfTheWindowActiveBeforeTheMenuOpened) {
    rig::Program& p = Start();
    ASSERT_TRUE(probe.ok());
    ASSERT_TRUE(probe.Attach(GetWindowThreadProcessId(p.window(), nullptr)));

    // An ordinary window: the item names its program and is grey.
    const HWND plain = Make(L"plain");
    ASSERT_TRUE(rig::Activate(plain));
    std::vector<rig::ProgramProbe::MenuItem> items;
    ASSERT_NE(OpenTrayMenu(p, probe, &items), nullptr);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[1].id, rig::kCmdMakeRule);
    EXPECT_EQ(items[1].text, L"rig_target.exe を今の状態で登録(&P)");
    EXPECT_TRUE(items[1].state & MFS_GRAYED);
    ASSERT_TRUE(p.CloseMenu());

    // A notepad made translucent by a wheel click and put on top.
    const rig::Notepad first;
    ASSERT_NE(first.window(), nullptr) << "no notepad";
    ASSERT_TRUE(rig::Activate(first.window()));
    const POINT caption = rig::CaptionPoint(first.window());
    rig::MiddleClick(caption.x, caption.y);
    ASSERT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(first.window()) == 190; }));
    SetWindowPos(first.window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_TRUE(IsOnTop(first.window()));
    // A click on the tray activates the taskbar before the menu opens.
    ASSERT_TRUE(rig::Activate(tray->hwnd()));

    ASSERT_NE(OpenTrayMenu(p, probe, &items), nullptr);
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items[1].text, L"notepad.exe を今の状態で登録(&P)");
    EXPECT_FALSE(items[1].state & MFS_GRAYED);
    rig::KeyPress('P');
    EXPECT_TRUE(rig::WaitFor([&] { return !p.Menu(); }));
    EXPECT_TRUE(rig::WaitFor([&] {
        return rig::settings::String(L"Program", RuleSection(0).c_str()) == std::optional<std::wstring>(rig::kNotepadExe);
    })) << "the rule was not written";
    EXPECT_EQ(rig::settings::Dword(L"Level", RuleSection(0).c_str()), std::optional<DWORD>(190));
    EXPECT_EQ(rig::settings::Dword(L"OnTop", RuleSection(0).c_str()), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::String(L"Class", RuleSection(0).c_str()), std::optional<std::wstring>(L""));

    const rig::Notepad second;
    ASSERT_NE(second.window(), nullptr) << "no notepad";
    EXPECT_TRUE(rig::WaitFor([&] { return rig::LayeredAlpha(second.window()) == 190 && IsOnTop(second.window()); }))
        << rig::LayeredAlpha(second.window()) << " " << IsOnTop(second.window());
}

}  // namespace
