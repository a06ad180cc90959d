// Clarovia.exe as a test drives it: started from the build folder (or from a copy
// folder), its hidden window, its other windows, its end; and its settings in the
// registry.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "program_messages.h"
#include "program_names.h"
#include "resource.h"

namespace rig {

// The program's names, messages and commands, as it is built with them.
inline constexpr wchar_t kProgramExe[] = L"Clarovia.exe";
inline constexpr wchar_t kHiddenWindowCaption[] = CLAROVIA_WIDE(CLAROVIA_HIDDEN_WINDOW_CAPTION);
inline constexpr wchar_t kInstanceMutex[] = CLAROVIA_WIDE(CLAROVIA_INSTANCE_MUTEX);
inline constexpr UINT kTrayNotify = app::WM_TRAYNOTIFY;
inline constexpr UINT kApplySettings = app::WM_APPLY_SETTINGS;
inline constexpr UINT kTrayIconId = IDI_APP;
inline constexpr UINT kCmdSettings = ID_TRAY_SETTINGS, kCmdAbout = ID_TRAY_ABOUT, kCmdExit = ID_TRAY_EXIT,
                      kCmdPause = ID_TRAY_PAUSE, kCmdMakeRule = ID_TRAY_MAKE_RULE;

// The program's registry key, HKEY_CURRENT_USER\Software\kesto's tool\Clarovia, and its
// two sections.
namespace settings {
inline constexpr wchar_t kCompanyKey[] = L"Software\\kesto's tool";
inline constexpr wchar_t kKey[] = L"Software\\kesto's tool\\Clarovia";
inline constexpr wchar_t kStatus[] = L"Status";
inline constexpr wchar_t kClassFilter[] = L"ClassFilter";

// A section of L"" is the program's key itself.
// Removes the program's key with everything under it (and the company key if empty).
void Erase();
bool SectionExists(const wchar_t* section);
void SetDword(const wchar_t* name, DWORD value, const wchar_t* section = kStatus);
void SetString(const wchar_t* name, const std::wstring& value, const wchar_t* section = kStatus);
std::optional<DWORD> Dword(const wchar_t* name, const wchar_t* section = kStatus);
std::optional<std::wstring> String(const wchar_t* name, const wchar_t* section = kStatus);
// REG_NONE when the value is missing.
DWORD Type(const wchar_t* name, const wchar_t* section = kStatus);
std::vector<std::wstring> ValueNames(const wchar_t* section = kStatus);
// The names of the keys inside a section.
std::vector<std::wstring> SectionNames(const wchar_t* section);
}  // namespace settings

// The version of Windows that Wine reports to one program ("winxp", "win2k", "win98"),
// for the life of the object; then the one it reported before (a world's own, see
// test.sh).
class WindowsVersionFor {
public:
    WindowsVersionFor(const wchar_t* exe, const wchar_t* version);
    ~WindowsVersionFor();
    WindowsVersionFor(const WindowsVersionFor&) = delete;
    WindowsVersionFor& operator=(const WindowsVersionFor&) = delete;

private:
    std::wstring key_;
    std::optional<std::wstring> before_;
};

// The DPI of the screen as a new process sees it, for the life of the object.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi);
    ~ScreenDpi();
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;

private:
    HKEY key_ = nullptr;
    DWORD old_ = 96;
    bool had_ = false;
};

// A folder under %TEMP% made for one test and deleted with everything in it (a file
// still in use is left); its name
// ends in `suffix`.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& suffix = {});
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    // With a trailing backslash.
    const std::wstring& path() const { return path_; }
    // Copies a file of the test program's folder into this one.
    bool CopyFromProgramDirectory(const wchar_t* name) const;
    // Copies `file` into this folder as `as` ("x86\\vitrel32.dll": the folder is made).
    bool CopyIn(const std::wstring& file, const std::wstring& as) const;

private:
    std::wstring path_;
};

// The processes of the 32-bit companion (Clarovia32.exe) that run now, of any program.
std::vector<DWORD> CompanionPids();

class Program {
public:
    // `folder` (with a trailing backslash) holds the Clarovia.exe to run; empty: the
    // test program's own folder, where the build puts the program and its library.
    explicit Program(std::wstring folder = {});
    // Ends the program if it still runs (see End).
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Start();
    // Waits until the program has made its hidden window and finished its start-up
    // (waits for input). Pumps this thread meanwhile: the program talks to windows of
    // the test (the tray stand-in) with sent messages while it starts.
    bool WaitReady(DWORD timeoutMs = 10000);
    bool Run() { return Start() && WaitReady(); }

    bool running() const;
    DWORD pid() const { return pi_.dwProcessId; }
    DWORD threadId() const { return pi_.dwThreadId; }
    HANDLE process() const { return pi_.hProcess; }
    // The hidden main window (null until found).
    HWND window() const { return window_; }

    // Waits, pumping, for the process to end.
    bool WaitExit(DWORD timeoutMs = 10000);
    // Exit code, or STILL_ACTIVE.
    DWORD exitCode() const;
    // Asks the program to end as its tray menu's "exit" does, and waits for it.
    bool Exit(DWORD timeoutMs = 10000);
    // Teardown: closes what the program has open (menu, dialogs), asks it to end,
    // waits, and terminates it as the last resort. Returns whether it ended by itself.
    bool End();

    // Visible top-level windows of the program, optionally of one class.
    std::vector<HWND> Windows(const wchar_t* className = nullptr) const;
    // The program's visible dialog (class "#32770"), other than the hidden window.
    HWND Dialog() const;
    // The program's visible popup menu (class "#32768").
    HWND Menu() const;
    // Closes an open popup menu with Esc; returns once none is shown.
    bool CloseMenu();

private:
    std::wstring exe_;
    PROCESS_INFORMATION pi_ = {};
    HWND window_ = nullptr;
};

// Texts of a window's child controls, in z order.
std::vector<std::wstring> ChildTexts(HWND window);
std::wstring WindowText(HWND window);
int WindowHeight(HWND window);
RECT WindowRect(HWND window);

}  // namespace rig
