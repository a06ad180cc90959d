// A look inside the program's GUI thread. rig_probe.dll is hooked onto that one thread
// (WH_GETMESSAGE and WH_CALLWNDPROC) and so runs inside the program: it records the
// messages the thread receives, and reads every popup menu when the menu is about to
// show (WM_INITMENUPOPUP), with the program's own menu handle. Wine keeps menus per
// process: another process gets nothing from GetMenuItemCount on the handle that
// MN_GETHMENU returns, so the labels and states are read in place.
//
// On request it measures the controls of one of the program's windows with their own
// fonts, in place: their fonts are handles of the program's, which no other process can
// use.
//
// On request it also replaces three of the program's imports, inside the program: the
// shell's SHAppBarMessage answers with a taskbar of the test's choosing (Wine's answer
// is fixed), RedrawWindow is recorded before it runs (Wine's redraw of the desktop
// window reaches no other window, so the call itself is what a test can check), and
// PropertySheetW has the sizes of the records it is given recorded (Wine takes sizes
// that older systems refuse). The replacements stay until the program ends.
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
inline constexpr uint32_t kProbeRedrawCapacity = 256;
inline constexpr uint32_t kProbeSheetPageCapacity = 16;
// A private message the program takes without effect: its retrieval tells that every
// message posted before it has been handled.
inline constexpr UINT kProbeSettleMessage = WM_USER + 111;
// The settle message with this wParam: the hooked thread measures the window asked for.
inline constexpr WPARAM kProbeMeasure = 1;
inline constexpr uint32_t kProbeControlCapacity = 48;

enum ProbePatch : LONG { kPatchAppBar = 1, kPatchRedraw = 2, kPatchPropertySheet = 4 };

struct ProbeMessage {
    uint64_t window;
    uint32_t message;
    uint32_t posted;  // 1: taken from the queue, 0: sent
    uint64_t wParam;
    uint64_t lParam;  // WM_CREATE: the style the window was created with
};

struct ProbeMenuItem {
    uint32_t id;
    uint32_t state;  // MFS_* as GetMenuItemInfo reports them
    uint32_t type;   // MFT_*
    wchar_t text[kProbeTextSize];
};

struct ProbeRedraw {
    uint64_t window;
    int32_t left, top, right, bottom;
    uint32_t hasRect;
    uint32_t flags;
};

// A child control of the measured window: where it lies in the window's client area,
// and the room its text needs in its font, as the control itself reckons it (a check
// box's or button's ideal size; a static's or group box's text with its margins).
struct ProbeControl {
    int32_t id;
    uint32_t style;
    uint32_t visible;
    wchar_t className[16];
    int32_t left, top, right, bottom;
    int32_t needWidth, needHeight;
    wchar_t text[kProbeTextSize * 2];
};

struct ProbeRecord {
    uint32_t magic = kProbeMagic;
    volatile LONG messageCount;
    ProbeMessage messages[kProbeMessageCapacity];
    volatile LONG menuSerial;  // bumped after a menu has been read in full
    uint32_t menuCount;
    ProbeMenuItem menu[kProbeMenuCapacity];
    volatile LONG settled;       // kProbeSettleMessage retrievals
    volatile LONG patchRequest;  // ProbePatch bits the test asks for
    volatile LONG patchDone;     // the ones in place
    // What SHAppBarMessage answers: ABM_GETTASKBARPOS the edge and rectangle, ABM_GETSTATE the state.
    volatile uint32_t appBarEdge;
    volatile int32_t appBarLeft, appBarTop, appBarRight, appBarBottom;
    volatile uint32_t appBarState;
    volatile LONG appBarQueries;
    volatile LONG redrawCount;
    ProbeRedraw redraws[kProbeRedrawCapacity];
    volatile uint32_t countedMessage;  // a posted message the thread's retrievals of which are counted
    volatile LONG counted;
    // The last PropertySheetW call: the header's dwSize and each page record's, read
    // the way the sheet reads them (each record dwSize bytes after the one before).
    volatile LONG sheetRuns;
    uint32_t sheetHeaderSize;
    uint32_t sheetPageCount;
    uint32_t sheetPageSizes[kProbeSheetPageCapacity];
    volatile uint64_t measureWindow;
    volatile LONG measured;  // measurements done
    uint32_t controlCount;
    int32_t clientWidth, clientHeight;  // of the measured window
    ProbeControl controls[kProbeControlCapacity];
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

    // Returns once the program has handled every message posted to `programWindow`
    // before this call (false after the timeout).
    bool Settle(HWND programWindow, DWORD timeoutMs = 10000);
    // From now on the program's SHAppBarMessage says the taskbar is at `edge`
    // (ABE_*), covers `rect` and has the state bits `state` (ABS_*).
    bool SteerTaskbar(HWND programWindow, UINT edge, RECT rect, UINT state);
    LONG appBarQueries() const { return record_ ? record_->appBarQueries : 0; }
    // Counts from now on how often the program takes posted `message` from its queue
    // (the message log holds only the first messages).
    void CountPosted(UINT message);
    LONG counted() const { return record_ ? record_->counted : 0; }
    // Records the program's RedrawWindow calls from now on.
    bool RecordRedraws(HWND programWindow);
    std::vector<ProbeRedraw> Redraws() const;
    void ClearRedraws();
    // Records the sizes of the records the program's next property sheets are built from.
    bool RecordPropertySheets(HWND programWindow);
    struct SheetRecords {
        LONG runs;  // sheets made since RecordPropertySheets
        UINT headerSize;
        std::vector<UINT> pageSizes;
    };
    SheetRecords PropertySheetRecords() const;

    // The child controls of the program's window `window`, measured inside the program
    // (empty after the timeout); the window's client size.
    struct Control {
        int id;
        DWORD style;
        bool visible;
        std::wstring className;
        RECT rect;
        SIZE need;
        std::wstring text;
    };
    std::vector<Control> MeasureControls(HWND programWindow, HWND window, SIZE* client = nullptr);

private:
    bool Patch(HWND programWindow, LONG patch);

    HMODULE module_ = nullptr;
    volatile ProbeRecord* record_ = nullptr;
    HHOOK getMessage_ = nullptr;
    HHOOK callWndProc_ = nullptr;
};

}  // namespace rig
