// Tests of the settings sheet: the running program, its sheet opened the way the shell
// opens it (the tray icon's double-click, the menu's settings item), worked with real
// clicks and keys, and judged by what the controls show, what the library's shared
// record holds after Apply and what the registry holds after exit.
#pragma once

#include <commctrl.h>

#include "program_fixture.h"
#include "sheet.h"

class SheetTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(probe.ok());
    }
    void TearDown() override {
        // A colour chooser or a sheet still open is closed by the program's end.
        ProgramTest::TearDown();
    }

    rig::Program& StartProbed() {
        rig::Program& p = Start();
        sheet.SetProgram(p);
        EXPECT_TRUE(probe.Attach(p.threadId()));
        probe.CountPosted(WM_USER + 1039);
        EXPECT_TRUE(probe.Settle(p.window()));
        return p;
    }

    // The tray icon double-clicked: the sheet on the page it was closed on.
    void OpenByDoubleClick() {
        PostMessageW(program->window(), rig::kTrayNotify, rig::kTrayIconId, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(sheet.WaitOpen()) << "no settings sheet";
        ASSERT_TRUE(rig::Activate(sheet.hwnd()));
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // The tray menu's settings item: the sheet on its second page.
    void OpenFromMenu() {
        PostMessageW(program->window(), WM_COMMAND, rig::kCmdSettings, 0);
        ASSERT_TRUE(sheet.WaitOpen()) << "no settings sheet";
        ASSERT_TRUE(rig::Activate(sheet.hwnd()));
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // Brings a page to the top, once it has handled the clicks it posts itself when it
    // is made (they come before anything posted later).
    bool SelectPage(int index) { return sheet.SelectPage(index) && probe.Settle(program->window()); }
    // Closes the sheet with one of its buttons and waits until it is gone and the
    // program has done what follows.
    void CloseWith(int button) {
        sheet.ClickButton(button);
        ASSERT_TRUE(sheet.WaitClosed()) << "the sheet did not close";
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // Presses Apply and waits until the program has run the apply step it asks for.
    void PressApply() {
        const size_t before = ApplyRequests();
        ASSERT_TRUE(sheet.ApplyEnabled()) << "Apply is not enabled";
        sheet.ClickButton(rig::kApplyButton);
        ASSERT_TRUE(rig::WaitFor([&] { return ApplyRequests() > before; })) << "Apply asked for nothing";
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // WM_APPLY_SETTINGS messages the program has taken from its queue.
    size_t ApplyRequests() { return static_cast<size_t>(probe.counted()); }
    // Apply steps the program has run (each ends by adding its tray icon): with the
    // notification area's stand-in only.
    size_t Applies() { return tray ? tray->Calls(NIM_ADD).size() : 0; }

    // Replaces the text of edit `id` of the page on top (or of another dialog of the
    // program) by typing: a click into it, the old text selected with Shift+Home from its
    // end and deleted, the new one typed.
    void TypeInto(int id, const std::wstring& text) { TypeInto(sheet.PageWindow(), id, text); }
    void TypeInto(const rig::DialogWindow& dialog, int id, const std::wstring& text) {
        dialog.Click(id);
        ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == dialog.Item(id); }));
        rig::KeyPress(VK_END);
        rig::KeyDown(VK_SHIFT);
        rig::KeyPress(VK_HOME);
        rig::KeyUp(VK_SHIFT);
        rig::KeyPress(VK_DELETE);
        ASSERT_TRUE(rig::WaitFor([&] { return dialog.Text(id).empty(); }))
            << "the old text stays: " << testing::PrintToString(dialog.Text(id));
        rig::TypeText(text);
        ASSERT_TRUE(rig::WaitFor([&] { return dialog.Text(id) == text; }))
            << "the edit shows another text: " << testing::PrintToString(dialog.Text(id));
    }
    // Gives edit `id` a long text: all but its last character set at once, the last
    // typed by a real key at its end, so that the dialog takes it as the user's change.
    // (Hundreds of typed characters may lose one under load.)
    void PutInto(const rig::DialogWindow& dialog, int id, const std::wstring& text) {
        ASSERT_FALSE(text.empty());
        const HWND edit = dialog.Item(id);
        dialog.Click(id);
        ASSERT_TRUE(rig::WaitFor([&] { return sheet.Focused() == edit; }));
        const std::wstring head = text.substr(0, text.size() - 1);
        ASSERT_TRUE(SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(head.c_str()), SMTO_NORMAL,
                                        5000, nullptr));
        rig::KeyPress(VK_END);
        rig::TypeText(text.substr(text.size() - 1));
        ASSERT_TRUE(rig::WaitFor([&] { return dialog.Text(id) == text; }))
            << "the edit shows another text: " << testing::PrintToString(dialog.Text(id));
    }

    // Points at control `id` of the page while window `other` is active, and waits for a
    // tooltip of the program. The pointer comes from outside the control and rests: a
    // tooltip shows once it rests. Now and then (once in several runs of the suite here)
    // the tooltip misses the move in: the pointer then leaves and comes in again.
    bool TooltipShownWhileInactive(int id, HWND other) {
        if (!rig::Activate(other)) return false;
        const RECT rc = rig::WindowRect(sheet.Item(id));
        for (int attempt = 0; attempt < 2; ++attempt) {
            rig::MoveMouse(rc.left + 20, rc.bottom + 40);
            if (!rig::WaitFor([&] { return program->Windows(L"tooltips_class32").empty(); })) return false;
            rig::MoveMouse(rc.left + 20 + attempt, (rc.top + rc.bottom) / 2);
            if (rig::WaitFor([&] { return !program->Windows(L"tooltips_class32").empty(); }, 3000)) return true;
        }
        return false;
    }

    // The styles the program's tooltips were created with, since the probe was cleared.
    std::vector<DWORD> TooltipCreationStyles() const {
        std::vector<DWORD> styles;
        for (const rig::ProbeMessage& m : probe.Messages(nullptr, WM_CREATE)) {
            wchar_t name[64] = {};
            GetClassNameW(reinterpret_cast<HWND>(static_cast<uintptr_t>(m.window)), name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW) styles.push_back(static_cast<DWORD>(m.lParam));
        }
        return styles;
    }

    // The level label's text for a level shown as `digits`.
    static std::wstring LevelText(const wchar_t* digits) {
        return std::wstring(L" 透明度の設定（") + digits + L"）";
    }

    rig::ProgramProbe probe;
    rig::Sheet sheet;
};
