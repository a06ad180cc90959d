#include "rig.h"

#include <cstdio>
#include <cstring>

#include "shared_settings.h"

namespace rig {

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpMessages();
        if (condition()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return false;
        // Wakes early for any message; otherwise re-checks every 10 ms.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now < 10 ? end - now : 10),
                                  QS_ALLINPUT);
    }
}

std::wstring ProgramDirectory() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1);
}

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Where Windows keeps its programs of the other width, as this process names it: the
// 32-bit ones seen from a 64-bit process, the 64-bit ones from a process under WOW64.
std::wstring OtherWidthSystemFolder() {
    wchar_t path[MAX_PATH] = {};
#if defined(_WIN64)
    const UINT n = GetSystemWow64DirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    const std::wstring folder = std::wstring(path, n) + L"\\";
    // A 64-bit Wine without its 32-bit half may still have the folder: it runs nothing.
    return Exists(folder + L"kernel32.dll") && Exists(folder + L"notepad.exe") ? folder : std::wstring();
#else
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return {};
    const UINT n = GetWindowsDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return std::wstring(path, n) + L"\\sysnative\\";
#endif
}

}  // namespace

std::wstring OtherWidthFolder() {
    if (OtherWidthSystemFolder().empty()) return {};
    // bin\ -> the build tree -> build\.
    std::wstring folder = ProgramDirectory();
    folder.pop_back();
    folder.resize(folder.find_last_of(L'\\'));
    folder.resize(folder.find_last_of(L'\\') + 1);
    folder += sizeof(void*) == 8 ? L"i686-tests\\bin\\" : L"x86_64\\bin\\";
    return Exists(folder + L"rig_shell.exe") && Exists(folder + L"rig_target.exe") ? folder : std::wstring();
}

std::wstring OtherWidthNotepad() {
    const std::wstring folder = OtherWidthSystemFolder();
    return folder.empty() || !Exists(folder + L"notepad.exe") ? std::wstring() : folder + L"notepad.exe";
}

bool OfOtherWidth(HWND window) {
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(window, &pid)) return false;
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    BOOL theirs = FALSE, ours = FALSE;
    const bool known = IsWow64Process(process, &theirs) && IsWow64Process(GetCurrentProcess(), &ours);
    CloseHandle(process);
    return known && theirs != ours;
}

// ---------------------------------------------------------------- HostProcess

namespace {
struct FindControl {
    DWORD pid;
    HWND found;
};

HWND FindControlWindow(DWORD pid) {
    HWND window = nullptr;
    while ((window = FindWindowExW(HWND_MESSAGE, window, kControlClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid) return window;
    }
    return nullptr;
}

void CopyText(wchar_t* out, size_t size, const std::wstring& text) {
    const size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(out, text.data(), n * sizeof(wchar_t));
    out[n] = 0;
}
}  // namespace

HostProcess::HostProcess(const std::wstring& folder, const wchar_t* exeName) {
    std::wstring command = L"\"" + folder + exeName + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    // Now and then Wine refuses a process start for a moment: try again before giving up,
    // and say why, so that a failed set-up is not a mystery.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_);
        if (!started) {
            std::fprintf(stderr, "rig: %ls did not start (error %lu)\n", exeName, GetLastError());
            WaitFor([] { return false; }, 200);
        }
    }
    if (!started) return;
    pid_ = pi_.dwProcessId;
    // The first start in a fresh prefix can be slow.
    if (!WaitFor([&] { return (control_ = FindControlWindow(pid_)) != nullptr; }, 30000))
        std::fprintf(stderr, "rig: %ls (pid %lu) made no control window within 30 s (%s)\n", exeName, pid_,
                     WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0 ? "it has ended" : "it still runs");
    wchar_t name[64];
    LogName(pid_, name, 64);
    mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, name);
    if (mapping_) log_ = static_cast<const LogHeader*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
}

HostProcess::~HostProcess() {
    if (control_) {
        HostCommand cmd = {};
        DWORD_PTR result = 0;
        COPYDATASTRUCT cds = {static_cast<ULONG_PTR>(Command::Quit), sizeof cmd, &cmd};
        SendMessageTimeoutW(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, 2000,
                            &result);
    }
    if (pi_.hProcess) {
        if (WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
    if (log_) UnmapViewOfFile(log_);
    if (mapping_) CloseHandle(mapping_);
}

LRESULT HostProcess::Send(Command command, const HostCommand& cmd) const {
    COPYDATASTRUCT cds = {static_cast<ULONG_PTR>(command), sizeof cmd, const_cast<HostCommand*>(&cmd)};
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(control_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, 10000,
                             &result))
        return 0;
    return static_cast<LRESULT>(result);
}

HWND HostProcess::Create(const WindowSpec& layout) {
    HostCommand cmd = {};
    CopyText(cmd.className, 64, layout.className);
    CopyText(cmd.text, 300, layout.title);
    cmd.style = layout.style;
    cmd.exStyle = layout.exStyle;
    cmd.x = layout.x;
    cmd.y = layout.y;
    cmd.width = layout.width;
    cmd.height = layout.height;
    cmd.flags = layout.flags | (layout.parent ? static_cast<uint32_t>(kChild) : 0u);
    cmd.window = reinterpret_cast<uintptr_t>(layout.parent);
    return reinterpret_cast<HWND>(Send(Command::CreateWindow, cmd));
}

bool HostProcess::Destroy(HWND window) {
    HostCommand cmd = {};
    cmd.window = reinterpret_cast<uintptr_t>(window);
    return Send(Command::DestroyWindow, cmd) != 0;
}

bool HostProcess::SetText(HWND window, const std::wstring& text) {
    HostCommand cmd = {};
    cmd.window = reinterpret_cast<uintptr_t>(window);
    CopyText(cmd.text, 300, text);
    return Send(Command::SetText, cmd) != 0;
}

bool HostProcess::MakeBusy(DWORD ms) {
    HostCommand cmd = {};
    cmd.width = static_cast<int32_t>(ms);
    return Send(Command::Busy, cmd) != 0;
}

bool HostProcess::SlowDown(HWND window, UINT message, DWORD ms, int wParam, int count) {
    HostCommand cmd = {};
    cmd.window = reinterpret_cast<uintptr_t>(window);
    cmd.style = message;
    cmd.x = wParam;
    cmd.width = static_cast<int32_t>(ms);
    cmd.height = count;
    return Send(Command::SlowMessage, cmd) != 0;
}

bool HostProcess::SawFreedBlock() const {
    for (const LogEntry& e : Log())
        if (e.message == kBlockFreedEntry) return true;
    return false;
}

bool HostProcess::Alive() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD HostProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

void HostProcess::Flush() { Send(Command::Flush, HostCommand{}); }

void HostProcess::ClearLog() { Send(Command::ClearLog, HostCommand{}); }

std::vector<LogEntry> HostProcess::Log() const {
    std::vector<LogEntry> out;
    if (!log_) return out;
    const LONG n = log_->count;
    out.assign(log_->entries, log_->entries + n);
    return out;
}

std::vector<LogEntry> HostProcess::Retrieved(HWND window, UINT message) const {
    std::vector<LogEntry> out;
    for (const LogEntry& e : Log())
        if (e.window == reinterpret_cast<uintptr_t>(window) && (message == 0 || e.message == message) &&
            e.source == static_cast<uint32_t>(Source::Hook))
            out.push_back(e);
    return out;
}

std::vector<LogEntry> HostProcess::Log(HWND window, UINT message) const {
    std::vector<LogEntry> out;
    for (const LogEntry& e : Log())
        if (e.window == reinterpret_cast<uintptr_t>(window) && (message == 0 || e.message == message) &&
            e.source == static_cast<uint32_t>(Source::Window))
            out.push_back(e);
    return out;
}

HWND HostProcess::CreateDesktop(COLORREF textColor, COLORREF backColor, uint32_t flags) {
    HostCommand cmd = {};
    cmd.flags = flags;
    cmd.colors[0] = textColor;
    cmd.colors[1] = backColor;
    return reinterpret_cast<HWND>(Send(Command::CreateDesktop, cmd));
}

HWND HostProcess::CreateFolderWindow(const wchar_t* className, int x, int y, int width, int height, uint32_t flags) {
    HostCommand cmd = {};
    CopyText(cmd.className, 64, className);
    cmd.x = x;
    cmd.y = y;
    cmd.width = width;
    cmd.height = height;
    cmd.flags = flags;
    return reinterpret_cast<HWND>(Send(Command::CreateFolderWindow, cmd));
}

HWND HostProcess::CreateTaskbar(int x, int y, int width, int height, const std::wstring& buttonText) {
    HostCommand cmd = {};
    CopyText(cmd.text, 300, buttonText);
    cmd.x = x;
    cmd.y = y;
    cmd.width = width;
    cmd.height = height;
    return reinterpret_cast<HWND>(Send(Command::CreateTaskbar, cmd));
}

HostProcess::Colors HostProcess::ListColors(HWND list) const {
    HostCommand cmd = {};
    cmd.window = reinterpret_cast<uintptr_t>(list);
    const auto text = static_cast<COLORREF>(Send(Command::ListColor, cmd));
    cmd.flags = 1;
    return Colors{text, static_cast<COLORREF>(Send(Command::ListColor, cmd))};
}

uint32_t HostProcess::HiddenBands(HWND rebar) const {
    HostCommand cmd = {};
    cmd.window = reinterpret_cast<uintptr_t>(rebar);
    return static_cast<uint32_t>(Send(Command::BandStates, cmd));
}

HWND FolderRebar(HWND folder) {
    const HWND worker = GetWindow(folder, GW_CHILD);
    return worker ? GetWindow(worker, GW_CHILD) : nullptr;
}

// ------------------------------------------------------------------- Recorder

Recorder::Recorder() {
    static const wchar_t kClass[] = L"ClaroviaTestRecorder";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClass, L"Recorder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            wc.hInstance, this);
}

Recorder::~Recorder() {
    if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK Recorder::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Recorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message >= WM_USER && message < WM_USER + 0x100) {
        self->messages_.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const std::vector<Recorder::Message>& Recorder::Messages() {
    PumpMessages();
    return messages_;
}

size_t Recorder::Count(UINT message, WPARAM wParam, LPARAM lParam) {
    size_t n = 0;
    for (const Message& m : Messages())
        if (m.message == message && m.wParam == wParam && m.lParam == lParam) ++n;
    return n;
}

size_t Recorder::Count(UINT message) {
    size_t n = 0;
    for (const Message& m : Messages())
        if (m.message == message) ++n;
    return n;
}

void Recorder::Clear() {
    PumpMessages();
    messages_.clear();
}

// -------------------------------------------------------------- shared record

volatile SharedSettings* FindSharedRecord(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    if (!base) return nullptr;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::memcmp(section->Name, VITREL_SECTION, sizeof VITREL_SECTION) == 0)
            return reinterpret_cast<volatile SharedSettings*>(base + section->VirtualAddress);
    }
    return nullptr;
}

// ---------------------------------------------------------------------- input

namespace {
INPUT MouseInput(int x, int y, DWORD flags, DWORD data = 0) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65536 + w / 2) / w);
    in.mi.dy = static_cast<LONG>((y * 65536 + h / 2) / h);
    in.mi.mouseData = data;
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in.mi.dwExtraInfo = kInputTag;
    return in;
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    in.ki.dwExtraInfo = kInputTag;
    return in;
}
}  // namespace

void MoveMouse(int x, int y) {
    INPUT in = MouseInput(x, y, 0);
    SendInput(1, &in, sizeof in);
}

void Click(int x, int y, DWORD downFlag, DWORD upFlag) {
    INPUT in[2] = {MouseInput(x, y, downFlag), MouseInput(x, y, upFlag)};
    SendInput(2, in, sizeof(INPUT));
}

void LeftClick(int x, int y) { Click(x, y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP); }
void RightClick(int x, int y) { Click(x, y, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP); }
void MiddleClick(int x, int y) { Click(x, y, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP); }

void DoubleClick(int x, int y) {
    INPUT in[4] = {MouseInput(x, y, MOUSEEVENTF_LEFTDOWN), MouseInput(x, y, MOUSEEVENTF_LEFTUP),
                   MouseInput(x, y, MOUSEEVENTF_LEFTDOWN), MouseInput(x, y, MOUSEEVENTF_LEFTUP)};
    SendInput(4, in, sizeof(INPUT));
}

void Wheel(int x, int y, int delta) {
    INPUT in = MouseInput(x, y, MOUSEEVENTF_WHEEL, static_cast<DWORD>(delta));
    SendInput(1, &in, sizeof in);
}

void KeyDown(WORD vk) {
    INPUT in = KeyInput(vk, false);
    SendInput(1, &in, sizeof in);
}

void KeyUp(WORD vk) {
    INPUT in = KeyInput(vk, true);
    SendInput(1, &in, sizeof in);
}

void KeyPress(WORD vk) {
    INPUT in[2] = {KeyInput(vk, false), KeyInput(vk, true)};
    SendInput(2, in, sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> in;
    for (const wchar_t c : text) {
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = c;
            key.ki.dwFlags = KEYEVENTF_UNICODE | up;
            key.ki.dwExtraInfo = kInputTag;
            in.push_back(key);
        }
    }
    if (!in.empty()) SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

bool Activate(HWND window) {
    // SetForegroundWindow takes effect asynchronously: ask again only now and then.
    ULONGLONG lastAsk = 0;
    return WaitFor(
        [&] {
            if (GetForegroundWindow() == window) return true;
            if (GetTickCount64() - lastAsk > 500) {
                SetForegroundWindow(window);
                lastAsk = GetTickCount64();
            }
            return false;
        },
        5000);
}

int LayeredAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
    return alpha;
}

bool IsLayered(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

}  // namespace rig

namespace rig {

bool ContainsInOrder(const std::vector<LogEntry>& log, const std::vector<Expected>& expected, std::string* why) {
    size_t at = 0;
    for (const Expected& want : expected) {
        size_t i = at;
        while (i < log.size() && !(log[i].message == want.message && (want.wParam == kAny || log[i].wParam == want.wParam) &&
                                   (want.lParam == kAny || log[i].lParam == want.lParam)))
            ++i;
        if (i == log.size()) {
            if (want.optional) continue;
            if (why) *why = "missing message 0x" + std::to_string(want.message) + " after entry " + std::to_string(at);
            return false;
        }
        at = i + 1;
    }
    return true;
}

}  // namespace rig

namespace rig {

POINT CaptionPoint(HWND window, int fromLeft) {
    RECT rc;
    GetWindowRect(window, &rc);
    const int frame = GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
    const int x = fromLeft >= 0 ? rc.left + fromLeft : rc.left + (rc.right - rc.left) / 3;
    return POINT{x, rc.top + frame + GetSystemMetrics(SM_CYCAPTION) / 2};
}

POINT LeftBorderPoint(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return POINT{rc.left + 1, (rc.top + rc.bottom) / 2};
}

POINT RightBorderPoint(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return POINT{rc.right - 2, (rc.top + rc.bottom) / 2};
}

POINT ClientPoint(HWND window) {
    RECT rc;
    GetClientRect(window, &rc);
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ClientToScreen(window, &pt);
    return pt;
}

LRESULT HitTest(HWND window, POINT pt) {
    DWORD_PTR result = HTNOWHERE;
    SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y), SMTO_ABORTIFHUNG, 2000, &result);
    return static_cast<LRESULT>(result);
}

bool XDoTool(const std::string& args) {
    std::wstring command = L"C:\\windows\\system32\\cmd.exe /c start /wait /unix /usr/bin/xdotool ";
    command += std::wstring(args.begin(), args.end());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                        &pi))
        return false;
    const bool done = WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0;
    if (!done) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return done;
}

namespace {
int VirtualKeyOf(const std::string& xKeyName) {
    if (xKeyName.find("trl") != std::string::npos) return VK_CONTROL;
    if (xKeyName.find("hift") != std::string::npos) return VK_SHIFT;
    return 0;
}

// The X event reaches Wine's input state asynchronously: wait until the system's key
// state shows it, so the key is in effect before any following input.
void WaitKeyState(const std::string& xKeyName, bool down) {
    const int vk = VirtualKeyOf(xKeyName);
    if (vk) WaitFor([&] { return ((GetAsyncKeyState(vk) & 0x8000) != 0) == down; }, 3000);
}
}  // namespace

HeldKey::HeldKey(const char* xKeyName) : key_(xKeyName) {
    XDoTool(std::string("keydown ") + key_);
    WaitKeyState(key_, true);
}

HeldKey::~HeldKey() {
    XDoTool(std::string("keyup ") + key_);
    WaitKeyState(key_, false);
}

void LeftDown(int x, int y) {
    INPUT in = MouseInput(x, y, MOUSEEVENTF_LEFTDOWN);
    SendInput(1, &in, sizeof in);
}

void LeftUp(int x, int y) {
    INPUT in = MouseInput(x, y, MOUSEEVENTF_LEFTUP);
    SendInput(1, &in, sizeof in);
}

bool WaitReceived(const HostProcess& host, HWND window, UINT message, size_t count, DWORD timeoutMs) {
    return WaitFor([&] { return host.Log(window, message).size() >= count; }, timeoutMs);
}

bool ClickHolding(const HostProcess& host, HWND window, POINT pt, std::initializer_list<const char*> keys,
                  UINT expected) {
    for (int attempt = 0; attempt < 3; ++attempt, pt.x += 8) {
        const size_t before = host.Log(window, expected).size();
        std::vector<std::unique_ptr<HeldKey>> held;
        for (const char* key : keys) held.push_back(std::make_unique<HeldKey>(key));
        LeftClick(pt.x, pt.y);
        if (!WaitReceived(host, window, expected, before + 1)) continue;
        if (KeysSeen(host, window, expected, keys)) return true;
    }
    return false;
}

bool KeysSeen(const HostProcess& host, HWND window, UINT message, std::initializer_list<const char*> keys) {
    const LogEntry* last = nullptr;
    const std::vector<LogEntry> log = host.Log();
    for (const LogEntry& e : log)
        if (e.source == static_cast<uint32_t>(Source::KeyState) && e.message == message &&
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

}  // namespace rig
