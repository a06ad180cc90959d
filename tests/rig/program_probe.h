// A look inside the program's GUI thread. rig_probe.dll is hooked onto that one thread
// (WH_GETMESSAGE and WH_CALLWNDPROC) and so runs inside the program: it records the
// messages the thread receives, and reads every popup menu when the menu is about to
// show (WM_INITMENUPOPUP), with the program's own menu handle. Wine keeps menus per
// process: another process gets nothing from GetMenuItemCount on the handle that
// MN_GETHMENU returns, so the labels and states are read in place.
//
// The DLL keeps its record in a shared section: the test loads the same file and sees
// the same record.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace rig {

inline constexpr uint32_t kProbeMagic = 0x50524F42;
inline constexpr uint32_t kProbeMessageCapacity = 1024;
inline constexpr uint32_t kProbeMenuCapacity = 16;
inline constexpr uint32_t kProbeTextSize = 64;

struct ProbeMessage {
    uint64_t window;
    uint32_t message;
    uint32_t posted;  // 1: taken from the queue, 0: sent
    uint64_t wParam;
    uint64_t lParam;
};

struct ProbeMenuItem {
    uint32_t id;
    uint32_t state;  // MFS_* as GetMenuItemInfo reports them
    uint32_t type;   // MFT_*
    wchar_t text[kProbeTextSize];
};

struct ProbeRecord {
    uint32_t magic;
    volatile LONG messageCount;
    ProbeMessage messages[kProbeMessageCapacity];
    volatile LONG menuSerial;  // bumped after a menu has been read in full
    uint32_t menuCount;
    ProbeMenuItem menu[kProbeMenuCapacity];
};

// Test side: loads the DLL and hooks it onto a thread of another process.
class ProgramProbe {
public:
    ProgramProbe();
    ~ProgramProbe();
    ProgramProbe(const ProgramProbe&) = delete;
    ProgramProbe& operator=(const ProgramProbe&) = delete;

    bool ok() const { return record_ != nullptr; }
    // Clears the record and hooks the thread.
    bool Attach(DWORD threadId);
    void Detach();
    void Clear();

    // Messages for `window` (null: every window), of `message` only unless 0.
    std::vector<ProbeMessage> Messages(HWND window = nullptr, UINT message = 0) const;

    struct MenuItem {
        UINT id;
        UINT state;
        UINT type;
        std::wstring text;
    };
    LONG menuSerial() const { return record_ ? record_->menuSerial : 0; }
    // The menu read last.
    std::vector<MenuItem> Menu() const;

private:
    HMODULE module_ = nullptr;
    volatile ProbeRecord* record_ = nullptr;
    HHOOK getMessage_ = nullptr;
    HHOOK callWndProc_ = nullptr;
};

}  // namespace rig
