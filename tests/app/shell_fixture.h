// Tests of the program's shell tweaks: the program started as in every program test,
// the fake shell (desktop, folder windows, taskbar) in a process of its own, and the
// probe on the program's thread, which tells when the program has handled what was
// posted to it and steers what the shell reports about the taskbar.
#pragma once

#include "program_fixture.h"

class ShellTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(shell.ok());
        ASSERT_TRUE(probe.ok());
    }

    // Starts the program with the probe on its thread, once its start-up is done.
    rig::Program& StartProbed() {
        rig::Program& p = Start();
        EXPECT_TRUE(probe.Attach(p.threadId()));
        Settle();
        return p;
    }

    // Returns once the program has handled everything posted to it so far.
    void Settle() { ASSERT_TRUE(probe.Settle(program->window())) << "the program did not get round to it"; }

    // What the settings sheet's Apply button does: the apply step, run to its end.
    void Apply() {
        PostMessageW(program->window(), rig::kApplySettings, 0, 0);
        Settle();
    }

    // A single click on the tray icon, as the shell reports it.
    void TrayClick() {
        PostMessageW(program->window(), rig::kTrayNotify, rig::kTrayIconId, WM_LBUTTONDOWN);
        Settle();
    }

    // Log entries of one window of the fake shell, of one message.
    std::vector<rig::LogEntry> ShellLog(HWND window, UINT message) const { return shell.Log(window, message); }

    rig::HostProcess shell{L"rig_shell.exe"};
    rig::ProgramProbe probe;
};
