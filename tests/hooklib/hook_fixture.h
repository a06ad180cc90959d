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
        return rig::WaitFor([&] { return host.Log(window, message).size() >= count; }, timeoutMs);
    }

    // Left click at `pt` with the given X keys held ("shift", "Shift_L", "ctrl").
    // Returns true once the window has received the press while its thread saw every
    // key down. Wine now and then loses a key held at the X server; the click is then
    // made again a few pixels further on (so that it is no double-click).
    bool ClickHolding(HWND window, POINT pt, std::initializer_list<const char*> keys,
                      UINT expected = WM_NCLBUTTONDOWN) {
        for (int attempt = 0; attempt < 3; ++attempt, pt.x += 8) {
            const size_t before = host.Log(window, expected).size();
            std::vector<std::unique_ptr<rig::HeldKey>> held;
            for (const char* key : keys) held.push_back(std::make_unique<rig::HeldKey>(key));
            rig::LeftClick(pt.x, pt.y);
            if (!Received(window, expected, before + 1)) continue;
            if (KeysSeen(window, expected, keys)) return true;
        }
        return false;
    }

    // Whether the window's thread saw the keys down at its last `message`.
    bool KeysSeen(HWND window, UINT message, std::initializer_list<const char*> keys) {
        const rig::LogEntry* last = nullptr;
        const std::vector<rig::LogEntry> log = host.Log();
        for (const rig::LogEntry& e : log)
            if (e.source == static_cast<uint32_t>(rig::Source::KeyState) && e.message == message &&
                e.window == reinterpret_cast<uintptr_t>(window))
                last = &e;
        if (!last) return false;
        for (const std::string key : keys) {
            const bool shift = key.find("hift") != std::string::npos;
            const uint64_t state = shift ? last->wParam : last->lParam;
            if (!(state & 0x8000)) return false;
        }
        return true;
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
