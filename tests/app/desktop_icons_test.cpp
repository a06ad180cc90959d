// The desktop icon labels: at every apply the program sends the desktop's icon list
// view (the fake shell's, in another process) both label colours, repaints it only when
// the look changed since it was last applied, and on a single click of its tray icon
// sends the chosen colours again. The list view's own colours, read at start-up, are
// what a mode that is off gives back.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "shell_fixture.h"

namespace {

constexpr COLORREF kOwnText = 0x00123456, kOwnBack = 0x00654321;
constexpr COLORREF kGreen = 0x0000FF00;

using Sent = std::vector<std::pair<UINT, COLORREF>>;

class DesktopIcons : public ShellTest {
protected:
    // The label colours the list view was sent since its log was cleared, in order.
    Sent ColorsSent(HWND list) const {
        Sent sent;
        for (const rig::LogEntry& e : shell.Log(list, 0))
            if (e.message == LVM_SETTEXTCOLOR || e.message == LVM_SETTEXTBKCOLOR)
                sent.emplace_back(e.message, static_cast<COLORREF>(e.lParam));
        return sent;
    }
    // How often the list view was repainted (erased) since its log was cleared, once
    // everything pending has been painted.
    size_t Repaints(HWND list) {
        shell.Flush();
        return ShellLog(list, WM_ERASEBKGND).size();
    }
    // A fresh log once the list view has painted what was pending.
    void Quiet() {
        shell.Flush();
        shell.ClearLog();
    }
};

TEST_F(DesktopIcons, ModesOffGiveTheOwnColoursBackAndRepaintNothing) {
    const HWND list = shell.CreateDesktop(kOwnText, kOwnBack);
    ASSERT_NE(list, nullptr);
    Quiet();
    StartProbed();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, kOwnBack}, {LVM_SETTEXTCOLOR, kOwnText}}));
    EXPECT_EQ(Repaints(list), 0u);

    // A tray click with both modes off sends nothing and repaints nothing.
    Quiet();
    TrayClick();
    EXPECT_TRUE(ColorsSent(list).empty());
    EXPECT_EQ(Repaints(list), 0u);

    // An apply without a change sends both colours again and repaints nothing.
    Apply();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, kOwnBack}, {LVM_SETTEXTCOLOR, kOwnText}}));
    EXPECT_EQ(Repaints(list), 0u);
    const rig::HostProcess::Colors colors = shell.ListColors(list);
    EXPECT_EQ(colors.text, kOwnText);
    EXPECT_EQ(colors.back, kOwnBack);
}

TEST_F(DesktopIcons, ChosenLookIsAppliedOnceReassertedByATrayClickAndOutlivesTheProgram) {
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    rig::settings::SetDword(L"DeskTopIconTextColorMode", 1);
    rig::settings::SetDword(L"DeskTopIconTextColor", kGreen);
    const HWND list = shell.CreateDesktop(kOwnText, kOwnBack);
    ASSERT_NE(list, nullptr);
    Quiet();
    StartProbed();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, CLR_NONE}, {LVM_SETTEXTCOLOR, kGreen}}));
    EXPECT_EQ(Repaints(list), 1u);
    EXPECT_EQ(shell.ListColors(list).back, CLR_NONE);
    EXPECT_EQ(shell.ListColors(list).text, kGreen);

    // A second apply without a change repaints nothing.
    Quiet();
    Apply();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, CLR_NONE}, {LVM_SETTEXTCOLOR, kGreen}}));
    EXPECT_EQ(Repaints(list), 0u);

    // The shell gives the labels its own colours again; a tray click wins them back.
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, kOwnBack);
    SendMessageW(list, LVM_SETTEXTCOLOR, 0, kOwnText);
    Quiet();
    TrayClick();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, CLR_NONE}, {LVM_SETTEXTCOLOR, kGreen}}));
    EXPECT_EQ(Repaints(list), 1u);

    // The colours are not given back at exit...
    Exit();
    EXPECT_EQ(shell.ListColors(list).back, CLR_NONE);
    EXPECT_EQ(shell.ListColors(list).text, kGreen);

    // ...so a program started with both modes off takes them as the list view's own.
    rig::settings::SetDword(L"DeskTopIconBkMode", 0);
    rig::settings::SetDword(L"DeskTopIconTextColorMode", 0);
    Quiet();
    StartProbed();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, CLR_NONE}, {LVM_SETTEXTCOLOR, kGreen}}));
    EXPECT_EQ(Repaints(list), 0u);
}

TEST_F(DesktopIcons, NoDesktopAtAllThenADesktopViewInAWorkerW) {
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    // No desktop: every path runs and changes nothing.
    StartProbed();
    TrayClick();
    Apply();
    Exit();

    // With a slideshow wallpaper the view lives in a top-level "WorkerW", not in "Progman".
    const HWND list = shell.CreateDesktop(kOwnText, kOwnBack, rig::kDesktopInWorkerW);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(FindWindowExW(FindWindowW(L"Progman", L"Program Manager"), nullptr, L"SHELLDLL_DefView", nullptr),
              nullptr);
    Quiet();
    StartProbed();
    EXPECT_EQ(ColorsSent(list), (Sent{{LVM_SETTEXTBKCOLOR, CLR_NONE}, {LVM_SETTEXTCOLOR, kOwnText}}));
    EXPECT_EQ(Repaints(list), 1u);
    EXPECT_EQ(shell.ListColors(list).back, CLR_NONE);
}

TEST_F(DesktopIcons, ADesktopThatDoesNotAnswerAtStartKeepsItsOwnColours) {
    // The desktop's thread stops pumping while the program starts, so its own colours
    // cannot be read then. Nothing is sent in their place, and once it answers, an apply
    // reads them and the labels keep their own colour.
    rig::settings::SetDword(L"DeskTopIconBkMode", 1);
    const HWND list = shell.CreateDesktop(kOwnText, kOwnBack);
    ASSERT_NE(list, nullptr);
    Quiet();
    ASSERT_TRUE(shell.MakeBusy(2000));
    StartProbed();
    EXPECT_TRUE(rig::WaitFor(
        [&] {
            Apply();
            return shell.ListColors(list).back == CLR_NONE;
        },
        12000));
    EXPECT_EQ(shell.ListColors(list).text, kOwnText);
    for (const auto& [message, color] : ColorsSent(list))
        EXPECT_TRUE(message == LVM_SETTEXTBKCOLOR ? color == CLR_NONE : color == kOwnText) << message << " " << color;
}

}  // namespace
