// What the test programs and the helper processes of the rig say to each other.
//
// A helper process (window host, fake shell) owns a message-only control window of
// class kControlClass. Tests send it commands as WM_COPYDATA (dwData = the command,
// lpData = a HostCommand) and read what its windows received from a shared log: a
// named file mapping "ClaroviaRigLog.<pid>" holding a LogHeader and LogEntry array.
#pragma once

#include <windows.h>
#include <stdint.h>

namespace rig {

inline constexpr wchar_t kControlClass[] = L"ClaroviaRigControl";

enum class Command : ULONG_PTR {
    CreateWindow = 1,  // -> the new window
    DestroyWindow = 2,
    Flush = 3,         // paints everything pending, then answers
    ClearLog = 4,
    Quit = 5,
    SetText = 6,
    Busy = 7,          // the helper's thread takes no message for `width` milliseconds
    // The next `height` times (at least once) `window` (0: any window of the helper)
    // takes message `style` (with wParam `x`, or any wParam when `x` is -1), its handler
    // stays inside for `width` milliseconds before it does what the message asks: the
    // late delivery of a message whose sender stopped waiting.
    // Message 0 drops every rule.
    SlowMessage = 8,
    // The fake shell's own windows (rig_shell.exe only).
    CreateDesktop = 20,       // flags: ShellFlags; colors: text, background -> the icon list view
    CreateFolderWindow = 21,  // className: the frame's class; flags: ShellFlags -> the frame
    CreateTaskbar = 22,       // x, y, width, height; text: the start button's -> the taskbar
    ListColor = 23,           // window: a list view; flags 0: -> its text colour, 1: its background
                              // (answers are 32 bits wide: a 32-bit helper's are no wider)
    BandStates = 24,          // window: a rebar -> bit i set while band i is hidden
};

// Window behaviours a test can ask for.
enum HostFlags : uint32_t {
    kFleeOnSetRedraw = 1,  // moves itself 300 px right when redraw is switched off
    kChild = 2,            // created as a child of `parent`
    kLogControl = 4,       // a control of a system class whose messages are logged too
    kBusyWhenLayered = 8,  // its thread stops pumping for 2 s right after it became layered
};

// How the fake shell builds its windows.
enum ShellFlags : uint32_t {
    kDesktopInWorkerW = 1,  // "Progman" has no view; a top-level "WorkerW" holds it
    kFolderNoWorker = 2,    // the folder window's first child is no "WorkerW"
    kFolderNoRebar = 4,     // the "WorkerW"'s first child is no rebar
    kRebarCountLies = 8,    // the rebar claims to have 0x7FFFFFFF bands
    kFolderBandsLater = 16, // the frame shows first and builds its inside 300 ms later
};

// The bands of a fake folder window's rebar, in order.
enum FolderBand : int { kLogoBand = 0, kMenuBand = 1, kArrowToolbarBand = 2, kAddressBand = 3, kBandCount = 4 };

struct HostCommand {
    wchar_t className[64];
    wchar_t text[300];
    uint32_t style;
    uint32_t exStyle;
    int32_t x, y, width, height;
    uint32_t flags;
    uint64_t window;  // the window a command acts on; parent for kChild
    uint32_t colors[2];
};

// Logged (Source::Window) by a slow handler that found, once awake, that the block its
// message points into was freed meanwhile: the message is then not handled.
inline constexpr UINT kBlockFreedEntry = WM_APP + 78;

// Window entries come from the helper's window procedure (for WM_COPYDATA, lParam is
// the data's dwData). KeyState entries follow a mouse button message: wParam holds
// GetKeyState(VK_SHIFT), lParam GetKeyState(VK_CONTROL), as the receiving thread saw
// them. Hook entries come from the helper's own get-message hook: input messages as the
// thread retrieved them, before any window saw them.
enum class Source : uint32_t { Window = 0, KeyState = 1, Hook = 2 };

struct LogEntry {
    uint64_t window;
    uint32_t message;
    uint32_t source;
    uint64_t wParam;
    uint64_t lParam;
};

inline constexpr uint32_t kLogCapacity = 16384;

struct LogHeader {
    volatile LONG count;  // entries written; the writer bumps it after each entry
    LONG reserved;
    LogEntry entries[kLogCapacity];
};

inline void LogName(DWORD pid, wchar_t* out, size_t size) {
    wsprintfW(out, L"ClaroviaRigLog.%lu", pid);
    (void)size;
}

}  // namespace rig
