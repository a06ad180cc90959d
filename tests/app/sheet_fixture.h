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
        EXPECT_TRUE(probe.Settle(p.window()));
        return p;
    }

    // The tray icon double-clicked: the sheet on the page it was closed on.
    void OpenByDoubleClick() {
        PostMessageW(program->window(), rig::kTrayNotify, rig::kTrayIconId, WM_LBUTTONDBLCLK);
        ASSERT_TRUE(sheet.WaitOpen()) << "no settings sheet";
        ASSERT_TRUE(rig::Activate(sheet.hwnd()));
    }
    // The tray menu's settings item: the sheet on its second page.
    void OpenFromMenu() {
        PostMessageW(program->window(), WM_COMMAND, rig::kCmdSettings, 0);
        ASSERT_TRUE(sheet.WaitOpen()) << "no settings sheet";
        ASSERT_TRUE(rig::Activate(sheet.hwnd()));
    }
    // Closes the sheet with one of its buttons and waits until it is gone and the
    // program has done what follows.
    void CloseWith(int button) {
        sheet.ClickButton(button);
        ASSERT_TRUE(sheet.WaitClosed()) << "the sheet did not close";
        ASSERT_TRUE(probe.Settle(program->window()));
    }
    // Presses Apply and waits until the program has run its apply step.
    void PressApply() {
        const size_t before = Applies();
        ASSERT_TRUE(sheet.ApplyEnabled());
        sheet.ClickButton(rig::kApplyButton);
        ASSERT_TRUE(rig::WaitFor([&] { return Applies() > before; })) << "no apply step";
    }
    // Apply steps the program has run: each ends by adding its tray icon.
    size_t Applies() { return tray ? tray->Calls(NIM_ADD).size() : 0; }

    rig::ProgramProbe probe;
    rig::Sheet sheet;
};
