// Common ground of the end-to-end hook tests: the library started and unlocked with a
// window of this test as the program window, and a helper process whose windows the
// hooks act on. Every setting starts at the image's initial value.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "rig.h"
#include "vitrel_library.h"

class HookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lib.ok());
        ASSERT_TRUE(host.ok());
        session = std::make_unique<rig::HookSession>(lib, program.hwnd());
    }

    void TearDown() override {
        // Leave no button down and no modal loop behind.
        POINT pt;
        GetCursorPos(&pt);
        rig::LeftUp(pt.x, pt.y);
        session.reset();
    }

    HWND Make(int x = 150, int y = 120, int w = 400, int h = 300, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
              const wchar_t* cls = L"RigWindow") {
        const HWND window = host.Create(rig::Layout(cls, style, x, y, w, h));
        EXPECT_NE(window, nullptr);
        return window;
    }

    // Waits until the window's procedure has received `message` `count` times in all.
    bool Received(HWND window, UINT message, size_t count = 1, DWORD timeoutMs = 5000) {
        return rig::WaitReceived(host, window, message, count, timeoutMs);
    }

    // Left click at `pt` with the given X keys held (see rig::ClickHolding).
    bool ClickHolding(HWND window, POINT pt, std::initializer_list<const char*> keys,
                      UINT expected = WM_NCLBUTTONDOWN) {
        return rig::ClickHolding(host, window, pt, keys, expected);
    }

    bool KeysSeen(HWND window, UINT message, std::initializer_list<const char*> keys) {
        return rig::KeysSeen(host, window, message, keys);
    }

    bool WaitLayeredAt(HWND window, int alpha) {
        return rig::WaitFor([&] { return rig::LayeredAlpha(window) == alpha; });
    }

    bool WaitOpaque(HWND window) {
        return rig::WaitFor([&] { return !rig::IsLayered(window); });
    }

    rig::VitrelLibrary lib;
    rig::Recorder program;
    rig::HostProcess host;
    std::unique_ptr<rig::HookSession> session;
};
