// The desktop icon text tweak called directly with plain values, against the fake
// shell's desktop list view in another process: the repaint decision for the cases
// the program reaches only through its settings sheet.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "desktop_icon_text.h"
#include "rig.h"

namespace {

constexpr COLORREF kOwnText = 0x00123456, kOwnBack = 0x00654321;
constexpr COLORREF kWhite = 0x00FFFFFF, kRed = 0x000000FF;

class DesktopIconTextDirect : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(shell.ok());
        list = shell.CreateDesktop(kOwnText, kOwnBack);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(shell::FindDesktopListView(), list);
    }
    // Applies `look` and returns how often the list view was repainted by it.
    size_t ApplyAndCountRepaints(shell::CDesktopIconText& text, const shell::IconTextLook& look) {
        shell.Flush();
        shell.ClearLog();
        text.Apply(look);
        shell.Flush();
        return shell.Log(list, WM_ERASEBKGND).size();
    }
    COLORREF LastTextColorSent() const {
        const std::vector<rig::LogEntry> sent = shell.Log(list, LVM_SETTEXTCOLOR);
        return sent.empty() ? CLR_INVALID : static_cast<COLORREF>(sent.back().lParam);
    }

    rig::HostProcess shell{L"rig_shell.exe"};
    HWND list = nullptr;
};

TEST_F(DesktopIconTextDirect, ColourChangedWhileItsModeIsOffRepaintsOnce) {
    shell::CDesktopIconText text;
    text.TakeColor(kWhite);
    shell::IconTextLook look{0, 0, kWhite, shell::DesktopListColor(list, LVM_GETTEXTBKCOLOR),
                      shell::DesktopListColor(list, LVM_GETTEXTCOLOR)};
    ASSERT_EQ(look.initialText, kOwnText);
    EXPECT_EQ(ApplyAndCountRepaints(text, look), 0u);

    // The chosen colour changes while its mode is off: the list view keeps its own
    // colour, yet it is repainted, once.
    look.textColor = kRed;
    EXPECT_EQ(ApplyAndCountRepaints(text, look), 1u);
    EXPECT_EQ(LastTextColorSent(), kOwnText);
    EXPECT_EQ(ApplyAndCountRepaints(text, look), 0u);

    // Just before the sheet opens, the modes count as applied as they stand: an apply
    // that finds them unchanged repaints nothing.
    text.TakeModes(0, 0);
    EXPECT_EQ(ApplyAndCountRepaints(text, look), 0u);
    look.textColorMode = 1;
    EXPECT_EQ(ApplyAndCountRepaints(text, look), 1u);
    EXPECT_EQ(LastTextColorSent(), kRed);
}

}  // namespace
