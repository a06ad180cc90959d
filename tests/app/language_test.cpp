// The program's two languages. It speaks Japanese where the user's UI language is
// Japanese and English for every other one (the Language cases run under the session's
// Japanese locale and again under an English and a German one, see tests/CMakeLists.txt),
// unless the value "Language" in its key names one. Whatever the language, every text of
// every page and dialog has room in its control, in the control's own font, at 96, 120
// and 144 DPI.
#include <windows.h>

#include <string>
#include <vector>

#include "resource.h"
#include "sheet_fixture.h"

namespace {

enum class Lang { Japanese, English };

// What the program takes by itself here: the language of this test's own locale.
Lang Automatic() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Lang::Japanese : Lang::English;
}

struct Words {
    const wchar_t* japanese;
    const wchar_t* english;
    const wchar_t* in(Lang lang) const { return lang == Lang::Japanese ? japanese : english; }
};

// The tabs, and one control of each page.
constexpr Words kTabs[] = {{L"ウインドウ", L"Window"},   {L"移動", L"Move"},       {L"サイズ変更", L"Resize"},
                           {L"タスクバー", L"Taskbar"},  {L"デスクトップ", L"Desktop"}, {L"シェード", L"Roll up"},
                           {L"その他", L"Other"},       {L"プログラム別", L"Programs"}, {L"キー", L"Keys"}};
struct PageSample {
    int id;
    Words words;
};
constexpr PageSample kPageSamples[] = {
    {IDC_WINDOW_MCLICK, {L"ホイールクリックで透明化設定/解除する", L"Middle click toggles translucency"}},
    {IDC_MOVE_ENABLE, {L"ウインドウの移動時に透明化する", L"Translucent while moved"}},
    {IDC_SIZE_ENABLE, {L"ウインドウのサイズ変更時に透明化する", L"Translucent while resized"}},
    {IDC_START_BUTTON_ENABLE, {L"スタートボタンの文字列を変更する", L"Change the Start button's text"}},
    {IDC_DESKTOP_CHOOSE, {L"選択", L"Choose..."}},
    {IDC_SHADE_WHOLE, {L"タイトルバーの全体でシェードする", L"Anywhere on the title bar"}},
    {IDC_OTHER_STARTUP, {L"スタートアップへ登録する", L"Start with Windows"}},
    {IDC_RULES_ADD, {L"追加...", L"Add..."}},
    {IDC_KEYS_ON + 5, {L"クリック透過", L"Click-through"}}};
constexpr Words kLevel190 = {L" 透明度の設定（190）", L"Opacity: 190"};
constexpr Words kMenuSettings = {L"設定(&S)", L"&Settings..."};
constexpr Words kMenuExit = {L"終了(&X)", L"E&xit"};
constexpr Words kRuleDialog = {L"プログラム別の設定", L"Rule for a program"};
constexpr Words kRuleOnTop = {L"最前面に表示する", L"Always on top"};
constexpr Words kAboutLine = {L"ウインドウ半透明化ツール", L"Window translucency tool"};
constexpr Words kLoadFailed = {L"サポートDLLがロードできませんでした。",
                               L"The support library vitrel.dll could not be loaded."};

bool Has(const std::vector<std::wstring>& texts, const wchar_t* text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class Language : public SheetTest {
protected:
    // "Language" in the program's key; null: none.
    static void Store(const wchar_t* value) {
        if (value) rig::settings::SetString(L"Language", value, L"");
    }
    std::wstring MenuText(UINT command) {
        std::vector<rig::ProgramProbe::MenuItem> items;
        EXPECT_NE(OpenTrayMenu(*program, probe, &items), nullptr) << "no tray menu";
        EXPECT_TRUE(program->CloseMenu());
        for (const auto& item : items)
            if (item.id == command) return item.text;
        return L"?";
    }
    // Opens the rule dialog from the last page (on top) with its Add button.
    HWND OpenRuleDialog(Lang lang) {
        sheet.Click(IDC_RULES_ADD);
        HWND found = nullptr;
        EXPECT_TRUE(rig::WaitFor([&] {
            for (const HWND w : program->Windows(L"#32770"))
                if (rig::WindowText(w) == kRuleDialog.in(lang)) found = w;
            return found != nullptr;
        })) << "no rule dialog";
        return found;
    }
    void CloseDialog(HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(rig::WaitFor([&] { return !IsWindow(dialog); }));
        EXPECT_TRUE(probe.Settle(program->window()));
    }
    HWND OpenAbout() {
        PostMessageW(program->window(), WM_COMMAND, rig::kCmdAbout, 0);
        HWND about = nullptr;
        EXPECT_TRUE(rig::WaitFor([&] { return (about = program->Dialog()) != nullptr; })) << "no about box";
        return about;
    }
};

TEST_F(Language, TheTrayTheSheetItsDialogsAndTheMessageBoxSpeakTheLanguageOfTheUser) {
    // The locale this run was registered under is the one Windows reports.
    const std::wstring locale = _wgetenv(L"CLAROVIA_TEST_LOCALE") ? _wgetenv(L"CLAROVIA_TEST_LOCALE") : L"ja_JP";
    EXPECT_EQ(PRIMARYLANGID(GetUserDefaultUILanguage()), locale.starts_with(L"de")   ? LANG_GERMAN
                                                         : locale.starts_with(L"en") ? LANG_ENGLISH
                                                                                     : LANG_JAPANESE);
    const Lang lang = Automatic();
    StartProbed();
    EXPECT_EQ(MenuText(rig::kCmdSettings), kMenuSettings.in(lang));
    EXPECT_EQ(MenuText(rig::kCmdExit), kMenuExit.in(lang));
    ASSERT_FALSE(tray->Calls(NIM_ADD).empty());
    EXPECT_STREQ(tray->Calls(NIM_ADD).back().tip.c_str(), L"Clarovia v2.8.2.2");

    OpenByDoubleClick();
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(SelectPage(i));
        EXPECT_EQ(rig::WindowText(sheet.Page()), kTabs[i].in(lang)) << "tab " << i;
        EXPECT_EQ(sheet.Text(kPageSamples[i].id), kPageSamples[i].words.in(lang)) << "tab " << i;
        // The label is written when the trackbar paints.
        if (i == 0) {
            EXPECT_TRUE(rig::WaitFor([&] { return sheet.Text(IDC_WINDOW_LEVEL_LABEL) == kLevel190.in(lang); }))
                << testing::PrintToString(sheet.Text(IDC_WINDOW_LEVEL_LABEL));
        }
    }
    ASSERT_TRUE(SelectPage(7));
    const HWND rule = OpenRuleDialog(lang);
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rig::DialogWindow(rule).Text(IDC_RULE_ON_TOP), kRuleOnTop.in(lang));
    CloseDialog(rule);
    CloseWith(IDCANCEL);

    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(Has(rig::ChildTexts(about), kAboutLine.in(lang)));
    CloseDialog(about);
    Exit();

    // Without its library the program says so in the same language.
    rig::TempFolder folder;
    ASSERT_TRUE(folder.CopyFromProgramDirectory(rig::kProgramExe));
    rig::Program alone(folder.path());
    ASSERT_TRUE(alone.Start());
    HWND box = nullptr;
    ASSERT_TRUE(rig::WaitFor([&] { return (box = alone.Dialog()) != nullptr || !alone.running(); }));
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_TRUE(Has(rig::ChildTexts(box), kLoadFailed.in(lang)));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(alone.WaitExit());
}

TEST_F(Language, TheStoredValueWinsEitherWayAndAnyOtherValueLeavesTheChoiceToWindows) {
    const Lang lang = Automatic();
    struct Row {
        const wchar_t* stored;
        Lang expected;
    };
    for (const Row row : {Row{L"ja", Lang::Japanese}, Row{L"EN", Lang::English}, Row{L"fr", lang}, Row{L"", lang}}) {
        rig::settings::Erase();
        Store(row.stored);
        StartProbed();
        EXPECT_EQ(MenuText(rig::kCmdSettings), kMenuSettings.in(row.expected)) << "Language " << testing::PrintToString(row.stored);
        Exit();
        // The program leaves the value as it was.
        EXPECT_EQ(rig::settings::String(L"Language", L""), std::optional<std::wstring>(row.stored));
        program.reset();
    }
}

// ------------------------------------------------------------------ layout

struct Screen {
    const wchar_t* language;
    DWORD dpi;
};
void PrintTo(const Screen& screen, std::ostream* out) {
    *out << (screen.language[0] == L'j' ? "Japanese" : "English") << " at " << screen.dpi << " DPI";
}

class LanguageLayout : public Language, public testing::WithParamInterface<Screen> {
protected:
    // Every text of window `window` in room enough in its control, and every control
    // inside the window's client area.
    void ExpectRoom(HWND window, const std::string& where) {
        SIZE client = {};
        const std::vector<rig::ProgramProbe::Control> controls =
            probe.MeasureControls(program->window(), window, &client);
        ASSERT_FALSE(controls.empty()) << where << ": nothing measured";
        for (const rig::ProgramProbe::Control& c : controls) {
            const bool button = c.className == L"Button", label = c.className == L"Static";
            const bool column = c.className == L"Header";
            if (!c.visible || c.text.empty() || !(button || label || column)) continue;
            const std::string name = where + " control " + std::to_string(c.id) + " " + testing::PrintToString(c.text);
            EXPECT_GE(c.rect.right - c.rect.left, c.need.cx) << name << " is too narrow";
            EXPECT_GE(c.rect.bottom - c.rect.top, c.need.cy) << name << " is too low";
            if (column) continue;  // a list view's last column may reach beyond it
            // Where the text lies, as the control aligns it: inside the client area (a
            // control may reach beyond it where it has no text).
            const UINT type = c.style & BS_TYPEMASK;
            const bool centred = label ? (c.style & SS_TYPEMASK) == SS_CENTER
                                       : type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
            const bool right = label && (c.style & SS_TYPEMASK) == SS_RIGHT;
            const int left = centred ? (c.rect.left + c.rect.right - c.need.cx) / 2
                                     : right ? c.rect.right - c.need.cx : c.rect.left;
            const int top = label ? c.rect.top : (c.rect.top + c.rect.bottom - c.need.cy) / 2;
            EXPECT_TRUE(left >= 0 && top >= 0 && left + c.need.cx <= client.cx && top + c.need.cy <= client.cy)
                << name << ": its text at " << left << "," << top << " " << c.need.cx << "x" << c.need.cy
                << " lies outside " << client.cx << "x" << client.cy;
        }
    }
};

TEST_P(LanguageLayout, EveryTextHasRoomOnEveryPageAndDialog) {
    const rig::ScreenDpi dpi(GetParam().dpi);
    Store(GetParam().language);
    StartProbed();
    OpenByDoubleClick();
    // A level label holds its template's "000" until its trackbar has painted.
    const auto levelShown = [](const rig::DialogWindow& dialog, int label) {
        EXPECT_TRUE(rig::WaitFor([&] { return dialog.Text(label).find(L"000") == std::wstring::npos; }));
    };
    constexpr int kLevelLabels[] = {IDC_WINDOW_LEVEL_LABEL, IDC_MOVE_LEVEL_LABEL, IDC_SIZE_LEVEL_LABEL,
                                    IDC_TASKBAR_LEVEL_LABEL};
    for (int i = 0; i < 9; ++i) {
        ASSERT_TRUE(SelectPage(i));
        if (i < 4) levelShown(sheet.PageWindow(), kLevelLabels[i]);
        ExpectRoom(sheet.Page(), "tab " + std::to_string(i));
    }
    ASSERT_TRUE(SelectPage(7));
    const HWND rule = OpenRuleDialog(GetParam().language[0] == L'j' ? Lang::Japanese : Lang::English);
    ASSERT_NE(rule, nullptr);
    levelShown(rig::DialogWindow(rule), IDC_RULE_LEVEL_LABEL);
    ExpectRoom(rule, "rule dialog");
    CloseDialog(rule);
    CloseWith(IDCANCEL);
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    ExpectRoom(about, "about box");
    CloseDialog(about);
}

INSTANTIATE_TEST_SUITE_P(Screens, LanguageLayout,
                         testing::Values(Screen{L"ja", 96}, Screen{L"ja", 120}, Screen{L"ja", 144}, Screen{L"en", 96},
                                         Screen{L"en", 120}, Screen{L"en", 144}),
                         [](const testing::TestParamInfo<Screen>& info) {
                             return std::string(info.param.language[0] == L'j' ? "Japanese" : "English") +
                                    std::to_string(info.param.dpi);
                         });

}  // namespace
