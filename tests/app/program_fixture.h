// Common ground of the tests of Clarovia.exe: the program started from the build
// folder on a registry key of the test's own making, the library's shared record as
// the program fills it, a stand-in for the notification area, and a helper process
// whose windows the program acts on. Teardown ends the program, gives the desktop its
// opaque taskbar back and removes the program's registry key.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "program.h"
#include "program_probe.h"
#include "rig.h"
#include "shared_settings.h"
#include "tray_recorder.h"
#include "vitrel_library.h"

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.ok());
        ASSERT_TRUE(host.ok());
        rig::settings::Erase();
        if (WithTrayStandIn()) {
            tray = std::make_unique<rig::TrayRecorder>();
            // The program's tray requests must come here, not to Wine's taskbar.
            ASSERT_TRUE(tray->ok());
        }
    }

    void TearDown() override {
        // Leave no button down behind.
        POINT pt;
        GetCursorPos(&pt);
        rig::LeftUp(pt.x, pt.y);
        if (program) {
            EXPECT_TRUE(program->End()) << "Clarovia.exe did not end when asked to";
        }
        program.reset();
        tray.reset();
        RestoreTaskbar();
        rig::settings::Erase();
    }

    // Whether the test's own "Shell_TrayWnd" takes the program's tray requests.
    virtual bool WithTrayStandIn() const { return true; }

    // Starts Clarovia.exe from the build folder and waits until it has started up.
    rig::Program& Start() {
        program = std::make_unique<rig::Program>();
        EXPECT_TRUE(program->Run()) << "Clarovia.exe did not come up";
        return *program;
    }

    // Ends the program the way its tray menu does and waits for it.
    void Exit() {
        ASSERT_TRUE(program);
        ASSERT_TRUE(program->Exit()) << "Clarovia.exe did not end";
        EXPECT_EQ(program->exitCode(), 0u);
    }

    volatile SharedSettings& shared() { return lib.shared(); }

    HWND Make(const wchar_t* title, int x = 150, int y = 120, int w = 400, int h = 300,
              DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, const wchar_t* cls = L"RigWindow") {
        rig::WindowSpec request = rig::Layout(cls, style, x, y, w, h);
        request.title = title;
        const HWND window = host.Create(request);
        EXPECT_NE(window, nullptr);
        return window;
    }

    // Wine's taskbar, never the stand-in.
    static HWND ShellTaskbar() {
        HWND found = nullptr;
        while ((found = FindWindowExW(nullptr, found, L"Shell_TrayWnd", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(found, &pid);
            if (pid != GetCurrentProcessId()) return found;
        }
        return nullptr;
    }

    void RestoreTaskbar() {
        if (const HWND taskbar = ShellTaskbar(); taskbar && rig::IsLayered(taskbar)) lib.RemoveTransparent(taskbar);
    }

    // Declared first: loaded (and its record reset) before the program starts, freed after it ends.
    rig::VitrelLibrary lib;
    rig::HostProcess host;
    std::unique_ptr<rig::TrayRecorder> tray;
    std::unique_ptr<rig::Program> program;
};

// Opens the program's tray menu as the shell does on a right click of the icon, and
// reads it through the probe. Returns the menu window (null if none came up).
inline HWND OpenTrayMenu(rig::Program& program, rig::ProgramProbe& probe,
                         std::vector<rig::ProgramProbe::MenuItem>* items = nullptr) {
    const LONG serial = probe.menuSerial();
    PostMessageW(program.window(), rig::kTrayNotify, rig::kTrayIconId, WM_RBUTTONUP);
    HWND menu = nullptr;
    if (!rig::WaitFor([&] { return (menu = program.Menu()) != nullptr && probe.menuSerial() != serial; }))
        return nullptr;
    if (items) *items = probe.Menu();
    return menu;
}
