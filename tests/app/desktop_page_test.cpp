// The Desktop page with real clicks: its master box, the system colour chooser (cancel,
// the stored colour, another colour), the swatch as it shows on the screen, a system
// colour change, and the tooltips shown while the sheet is not active.
#include <windows.h>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

// The colour chooser's own controls.
constexpr int kDefineCustom = 719;  // "Define custom colours >>"
constexpr int kRed = 706, kGreen = 707, kBlue = 708;

// An edit's text, asked with a message (an edit keeps its text itself).
std::wstring EditText(HWND edit) {
    wchar_t text[64] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &result);
    return text;
}

COLORREF ScreenPixel(POINT pt) {
    const HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, pt.x, pt.y);
    ReleaseDC(nullptr, screen);
    return c;
}

// A system colour changed for the test and put back afterwards.
class SystemColor {
public:
    SystemColor(int index, COLORREF color) : index_(index), old_(GetSysColor(index)) {
        SetSysColors(1, &index_, &color);
    }
    ~SystemColor() { SetSysColors(1, &index_, &old_); }
    SystemColor(const SystemColor&) = delete;
    SystemColor& operator=(const SystemColor&) = delete;

private:
    int index_;
    COLORREF old_;
};

class DesktopPage : public SheetTest {
protected:
    POINT SwatchCentre() const {
        const RECT rc = rig::WindowRect(sheet.Item(IDC_DESKTOP_SWATCH));
        return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    bool SwatchShows(COLORREF color) const {
        return rig::WaitFor([&] { return ScreenPixel(SwatchCentre()) == color; }, 3000);
    }

    // The colour chooser the page opened (null until it is shown).
    HWND Chooser() const {
        for (const HWND w : program->Windows(L"#32770"))
            if (w != sheet.hwnd()) return w;
        return nullptr;
    }
    HWND OpenChooser() {
        sheet.Click(IDC_DESKTOP_CHOOSE);
        HWND chooser = nullptr;
        EXPECT_TRUE(rig::WaitFor([&] { return (chooser = Chooser()) != nullptr; })) << "no colour chooser";
        return chooser;
    }
    static void ClickIn(HWND dialog, int id) {
        const RECT rc = rig::WindowRect(GetDlgItem(dialog, id));
        rig::LeftClick((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
    // Chooses a colour by its red, green and blue values, and OK.
    void Choose(COLORREF color) {
        const HWND chooser = OpenChooser();
        ASSERT_NE(chooser, nullptr);
        ClickIn(chooser, kDefineCustom);
        ASSERT_TRUE(rig::WaitFor([&] { return IsWindowVisible(GetDlgItem(chooser, kRed)) != FALSE; }));
        const struct {
            int id;
            int value;
        } parts[] = {{kRed, GetRValue(color)}, {kGreen, GetGValue(color)}, {kBlue, GetBValue(color)}};
        for (const auto& part : parts) {
            const HWND edit = GetDlgItem(chooser, part.id);
            // (While the chooser still widens, a click may miss: it is made again.)
            bool focused = false;
            for (int attempt = 0; attempt < 3 && !focused; ++attempt) {
                ClickIn(chooser, part.id);
                focused = rig::WaitFor([&] { return sheet.Focused() == edit; }, 1000);
            }
            ASSERT_TRUE(focused) << part.id;
            rig::KeyPress(VK_END);
            for (int i = 0; i < 4; ++i) rig::KeyPress(VK_BACK);
            rig::TypeText(std::to_wstring(part.value));
            ASSERT_TRUE(rig::WaitFor([&] { return EditText(edit) == std::to_wstring(part.value); }))
                << part.id << " shows " << EditText(edit).size();
        }
        ClickIn(chooser, IDOK);
        ASSERT_TRUE(rig::WaitFor([&] { return Chooser() == nullptr; }));
    }
};

TEST_F(DesktopPage, ColourChooserSwatchAndSystemColours) {
    StartProbed();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(4));

    // The colour controls follow their box; the swatch shows the stored colour either way.
    for (const int id : {IDC_DESKTOP_SWATCH_CAPTION, IDC_DESKTOP_CHOOSE, IDC_DESKTOP_SWATCH})
        EXPECT_FALSE(sheet.Enabled(id)) << id;
    EXPECT_TRUE(SwatchShows(RGB(255, 255, 255)));
    ASSERT_TRUE(sheet.ClickTo(IDC_DESKTOP_COLOR_MODE, 1));
    for (const int id : {IDC_DESKTOP_SWATCH_CAPTION, IDC_DESKTOP_CHOOSE, IDC_DESKTOP_SWATCH})
        EXPECT_TRUE(sheet.Enabled(id)) << id;
    PressApply();
    EXPECT_TRUE(rig::WaitFor([&] { return !sheet.ApplyEnabled(); }));

    // Cancelled, or the colour already stored: no change.
    {
        const HWND chooser = OpenChooser();
        ASSERT_NE(chooser, nullptr);
        ClickIn(chooser, IDCANCEL);
        ASSERT_TRUE(rig::WaitFor([&] { return Chooser() == nullptr; }));
    }
    Choose(RGB(255, 255, 255));
    ASSERT_TRUE(probe.Settle(program->window()));
    EXPECT_FALSE(sheet.ApplyEnabled());
    EXPECT_TRUE(SwatchShows(RGB(255, 255, 255)));

    // Another colour marks the page and shows at once.
    Choose(RGB(200, 40, 60));
    EXPECT_TRUE(rig::WaitFor([&] { return sheet.ApplyEnabled(); }));
    EXPECT_TRUE(SwatchShows(RGB(200, 40, 60))) << std::hex << ScreenPixel(SwatchCentre());

    // A change of the system colours repaints the swatch (it reaches the swatch, which
    // answers it) but keeps the chosen colour, which OK then stores.
    {
        const SystemColor changed(COLOR_BTNFACE, RGB(10, 180, 90));
        ASSERT_TRUE(rig::WaitFor([&] {
            return !probe.Messages(sheet.Item(IDC_DESKTOP_SWATCH), WM_SYSCOLORCHANGE).empty();
        })) << "the swatch did not learn of the change";
        ASSERT_TRUE(probe.Settle(program->window()));
        UpdateWindow(sheet.Item(IDC_DESKTOP_SWATCH));  // the repaint it asked for, now
        EXPECT_TRUE(SwatchShows(RGB(200, 40, 60))) << std::hex << ScreenPixel(SwatchCentre());
        CloseWith(IDOK);
        Exit();
        EXPECT_EQ(rig::settings::Dword(L"DeskTopIconTextColor"), std::optional<DWORD>(RGB(200, 40, 60)));
        EXPECT_EQ(rig::settings::Dword(L"DeskTopIconTextColorMode"), std::optional<DWORD>(1));
    }
}

TEST_F(DesktopPage, TooltipsShowWhileTheSheetIsNotActive) {
    StartProbed();
    const HWND other = Make(L"Other", 480, 300, 400, 260);
    probe.Clear();
    OpenByDoubleClick();
    ASSERT_TRUE(SelectPage(4));
    // Made to show always from their creation on.
    const std::vector<DWORD> styles = TooltipCreationStyles();
    ASSERT_EQ(styles.size(), 2u);
    for (const DWORD style : styles) EXPECT_TRUE(style & TTS_ALWAYSTIP) << std::hex << style;
    EXPECT_TRUE(TooltipShownWhileInactive(IDC_DESKTOP_BK_MODE, other));
}

}  // namespace
