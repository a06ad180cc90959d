// Test-side helpers: helper processes and their windows, waiting on conditions,
// real input, the message recorder that plays the program window, and the library's
// shared record as a test sees it.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "protocol.h"

struct SharedSettings;

namespace rig {

// Pumps this thread's messages until `condition` holds or the timeout passes.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// Pumps everything pending in this thread's queue.
void PumpMessages();

// Directory of the running test program (where the helpers and vitrel.dll lie).
std::wstring ProgramDirectory();

// Programs of the other width than this test program's, on a 64-bit Windows where both
// run: the bin folder of the other build's tests beside this one (build\i686-tests and
// build\x86_64), and Wine's own notepad of that width. Empty where there is no such
// Windows, or no such build.
std::wstring OtherWidthFolder();
std::wstring OtherWidthNotepad();
// Whether `window` belongs to a process of the other width (false when it cannot tell).
bool OfOtherWidth(HWND window);

// The rebar of a folder window ("WorkerW" > "ReBarWindow32"), or null.
HWND FolderRebar(HWND folder);

struct WindowSpec {
    std::wstring className = L"RigWindow";
    std::wstring title = L"Rig window";
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle = 0;
    int x = 100, y = 100, width = 400, height = 300;
    uint32_t flags = 0;
    HWND parent = nullptr;
};

// A window of `className` and `style` at x, y with the given outer size.
inline WindowSpec Layout(const wchar_t* className, DWORD style, int x, int y, int width, int height) {
    WindowSpec layout;
    layout.className = className;
    layout.style = style;
    layout.x = x;
    layout.y = y;
    layout.width = width;
    layout.height = height;
    return layout;
}

// A helper process of the rig (window host or fake shell), ended in the destructor.
class HostProcess {
public:
    explicit HostProcess(const wchar_t* exeName = L"rig_target.exe") : HostProcess(ProgramDirectory(), exeName) {}
    // The helper `exeName` in `folder` (which ends in a backslash).
    HostProcess(const std::wstring& folder, const wchar_t* exeName);
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    bool ok() const { return control_ != nullptr; }
    DWORD pid() const { return pid_; }

    HWND Create(const WindowSpec& layout);
    bool Destroy(HWND window);
    bool SetText(HWND window, const std::wstring& text);
    // The helper's thread stops taking messages for `ms` milliseconds, starting now.
    bool MakeBusy(DWORD ms);
    // The next `count` times `window` (null: any window of the helper) takes `message`
    // (with `wParam`, -1 for any), its handler stays inside for `ms` milliseconds before
    // handling it. Whether the helper took the rule.
    bool SlowDown(HWND window, UINT message, DWORD ms, int wParam = -1, int count = 1);
    // Drops the rules of SlowDown that have not come into play.
    bool NoLongerSlow() { return SlowDown(nullptr, 0, 0); }
    // Whether a slow handler found the block its message pointed into freed once awake.
    bool SawFreedBlock() const;
    // Whether the helper's process is still running, and its exit code once it is not.
    bool Alive() const;
    DWORD ExitCode() const;
    // Returns once every window of the helper has painted what was pending.
    void Flush();
    void ClearLog();
    std::vector<LogEntry> Log() const;
    // Entries of one window, optionally of one message only.
    std::vector<LogEntry> Log(HWND window, UINT message = 0) const;
    // Input messages for one window as its thread retrieved them, before any window
    // procedure (a message a hook swallowed is not among them).
    std::vector<LogEntry> Retrieved(HWND window, UINT message = 0) const;

    // The fake shell's windows (rig_shell.exe; ShellFlags in `flags`).
    // The desktop with its icon list view, whose label colours start as given; returns
    // the list view.
    HWND CreateDesktop(COLORREF textColor, COLORREF backColor, uint32_t flags = 0);
    // A folder window of `className` whose rebar holds the bands of FolderBand.
    HWND CreateFolderWindow(const wchar_t* className, int x, int y, int width, int height, uint32_t flags = 0);
    // A taskbar whose first child is a start button showing `buttonText`.
    HWND CreateTaskbar(int x, int y, int width, int height, const std::wstring& buttonText);
    struct Colors {
        COLORREF text;
        COLORREF back;
    };
    // A list view's label colours, read in its own process.
    Colors ListColors(HWND list) const;
    // Which bands of a rebar are hidden (bit i: band i), read in its own process.
    uint32_t HiddenBands(HWND rebar) const;

private:
    LRESULT Send(Command command, const HostCommand& cmd) const;

    PROCESS_INFORMATION pi_ = {};
    DWORD pid_ = 0;
    HWND control_ = nullptr;
    HANDLE mapping_ = nullptr;
    const LogHeader* log_ = nullptr;
};

// A window of the test that stands in for the program window: it records every
// message in the library's report range that reaches it.
class Recorder {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Pumps, then returns what arrived so far.
    const std::vector<Message>& Messages();
    size_t Count(UINT message, WPARAM wParam, LPARAM lParam);
    size_t Count(UINT message);
    void Clear();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND hwnd_ = nullptr;
    std::vector<Message> messages_;
};

// The shared record of a loaded vitrel.dll, found through its section headers.
volatile SharedSettings* FindSharedRecord(HMODULE module);

// Real input. Every mouse INPUT carries the absolute position; every key its scan
// code; all of it is tagged in dwExtraInfo.
inline constexpr ULONG_PTR kInputTag = 0xC1A50F1A;
void MoveMouse(int x, int y);
void Click(int x, int y, DWORD downFlag, DWORD upFlag);
void LeftClick(int x, int y);
void RightClick(int x, int y);
void MiddleClick(int x, int y);
void DoubleClick(int x, int y);
void Wheel(int x, int y, int delta);
void KeyDown(WORD vk);
void KeyUp(WORD vk);
void KeyPress(WORD vk);
// Types `text` as Unicode characters (VK_PACKET), whatever the keyboard layout.
void TypeText(const std::wstring& text);

// Brings a window of any process to the foreground and waits until it is there.
bool Activate(HWND window);

// Alpha of a layered window, or -1 when it has none.
int LayeredAlpha(HWND window);
bool IsLayered(HWND window);

}  // namespace rig

namespace rig {

// One expected entry of a message sequence; kAny matches every value.
inline constexpr uint64_t kAny = ~0ull;
struct Expected {
    UINT message;
    uint64_t wParam = kAny;
    uint64_t lParam = kAny;
    bool optional = false;
};

// Whether `log` holds the required entries of `expected` in this order (other
// messages may come in between). On failure `why` names the first entry missing.
bool ContainsInOrder(const std::vector<LogEntry>& log, const std::vector<Expected>& expected,
                     std::string* why = nullptr);

}  // namespace rig

namespace rig {

// Points of a window's frame, in screen coordinates.
POINT CaptionPoint(HWND window, int fromLeft = -1);  // on the title bar, clear of the buttons
POINT LeftBorderPoint(HWND window);
POINT RightBorderPoint(HWND window);
POINT ClientPoint(HWND window);
// What the window says is at the point (asked in its own thread).
LRESULT HitTest(HWND window, POINT pt);

// A key held at the X server for the life of the object (xdotool), so that Wine sees it
// in whichever thread receives the next click, and released at the end.
class HeldKey {
public:
    explicit HeldKey(const char* xKeyName);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    const char* key_;
};

// Runs xdotool with the arguments and waits for it.
bool XDoTool(const std::string& args);

void LeftDown(int x, int y);
void LeftUp(int x, int y);

// Waits until a window of the helper has received `message` `count` times in all.
bool WaitReceived(const HostProcess& host, HWND window, UINT message, size_t count = 1, DWORD timeoutMs = 5000);

// Left click at `pt` with the given X keys held ("shift", "Shift_L", "ctrl"). Returns
// true once the window of the helper has received the press while its thread saw
// every key down. Wine now and then loses a key held at the X server; the click is
// then made again a few pixels further on (so that it is no double-click).
bool ClickHolding(const HostProcess& host, HWND window, POINT pt, std::initializer_list<const char*> keys,
                  UINT expected = WM_NCLBUTTONDOWN);

// Whether the window's thread saw the keys down at its last `message`.
bool KeysSeen(const HostProcess& host, HWND window, UINT message, std::initializer_list<const char*> keys);

}  // namespace rig
