#include "program.h"

#include <tlhelp32.h>

#include "rig.h"

namespace rig {

// ------------------------------------------------------------------ settings

namespace settings {

namespace {
// An empty section: the program's key itself.
std::wstring SectionPath(const wchar_t* section) {
    return *section ? std::wstring(kKey) + L"\\" + section : std::wstring(kKey);
}

HKEY OpenSection(const wchar_t* section, REGSAM access) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, access, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CreateSection(const wchar_t* section) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}
}  // namespace

void Erase() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    // Only when nothing else lives under the company's name.
    RegDeleteKeyW(HKEY_CURRENT_USER, kCompanyKey);
}

bool SectionExists(const wchar_t* section) {
    const HKEY key = OpenSection(section, KEY_READ);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

void SetDword(const wchar_t* name, DWORD value, const wchar_t* section) {
    if (const HKEY key = CreateSection(section)) {
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
}

void SetString(const wchar_t* name, const std::wstring& value, const wchar_t* section) {
    if (const HKEY key = CreateSection(section)) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }
}

std::optional<DWORD> Dword(const wchar_t* name, const wchar_t* section) {
    const HKEY key = OpenSection(section, KEY_READ);
    if (!key) return std::nullopt;
    DWORD type = 0, value = 0, size = sizeof value;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return std::nullopt;
    return value;
}

std::optional<std::wstring> String(const wchar_t* name, const wchar_t* section) {
    const HKEY key = OpenSection(section, KEY_READ);
    if (!key) return std::nullopt;
    DWORD type = 0, size = 0;
    std::optional<std::wstring> result;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) ==
            ERROR_SUCCESS) {
            text.resize(got / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') text.pop_back();
            result = text;
        }
    }
    RegCloseKey(key);
    return result;
}

DWORD Type(const wchar_t* name, const wchar_t* section) {
    const HKEY key = OpenSection(section, KEY_READ);
    if (!key) return REG_NONE;
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
    RegCloseKey(key);
    return type;
}

namespace {
// The names the section's enumeration gives, values' or keys'.
template <typename Enumerate>
std::vector<std::wstring> Names(const wchar_t* section, Enumerate enumerate) {
    std::vector<std::wstring> names;
    const HKEY key = OpenSection(section, KEY_READ);
    if (!key) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (enumerate(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}
}  // namespace

std::vector<std::wstring> ValueNames(const wchar_t* section) { return Names(section, RegEnumValueW); }

std::vector<std::wstring> SectionNames(const wchar_t* section) { return Names(section, RegEnumKeyExW); }

}  // namespace settings

// --------------------------------------------------------- WindowsVersionFor

ScreenDpi::ScreenDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = sizeof old_;
    had_ = RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
           ERROR_SUCCESS;
    RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
}

ScreenDpi::~ScreenDpi() {
    if (had_)
        RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_), sizeof old_);
    else
        RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
}

WindowsVersionFor::WindowsVersionFor(const wchar_t* exe, const wchar_t* version)
    : key_(std::wstring(L"Software\\Wine\\AppDefaults\\") + exe) {
    wchar_t old[64] = {};
    DWORD size = sizeof old;
    if (RegGetValueW(HKEY_CURRENT_USER, key_.c_str(), L"Version", RRF_RT_REG_SZ, nullptr, old, &size) == ERROR_SUCCESS)
        before_ = old;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                   static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

WindowsVersionFor::~WindowsVersionFor() {
    if (!before_) {
        RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str());
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), L"Version", REG_SZ, before_->c_str(),
                    static_cast<DWORD>((before_->size() + 1) * sizeof(wchar_t)));
}

// ---------------------------------------------------------------- TempFolder

TempFolder::TempFolder(const std::wstring& suffix) {
    wchar_t temp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) return;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[64];
        wsprintfW(name, L"clarovia-test-%lu-%lu-%d", GetCurrentProcessId(), GetTickCount(), attempt);
        std::wstring path = std::wstring(temp) + name + suffix;
        if (CreateDirectoryW(path.c_str(), nullptr)) {
            path_ = path + L"\\";
            return;
        }
    }
}

namespace {
// Deletes `folder` (with a trailing backslash) and everything in it.
void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}
}  // namespace

TempFolder::~TempFolder() {
    if (!path_.empty()) DeleteTree(path_);
}

bool TempFolder::CopyFromProgramDirectory(const wchar_t* name) const {
    return CopyIn(ProgramDirectory() + name, name);
}

bool TempFolder::CopyIn(const std::wstring& file, const std::wstring& as) const {
    if (!ok()) return false;
    const size_t slash = as.find_last_of(L'\\');
    if (slash != std::wstring::npos) CreateDirectoryW((path_ + as.substr(0, slash)).c_str(), nullptr);
    return CopyFileW(file.c_str(), (path_ + as).c_str(), FALSE) != FALSE;
}

// ------------------------------------------------------------------- Program

std::vector<DWORD> CompanionPids() {
    std::vector<DWORD> pids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, L"Clarovia32.exe") == 0) pids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return pids;
}

namespace {
struct WindowQuery {
    DWORD pid;
    const wchar_t* className;
    const wchar_t* caption;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != query->pid) return TRUE;
    if (query->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (query->className) {
        wchar_t cls[64] = {};
        GetClassNameW(window, cls, 64);
        if (lstrcmpW(cls, query->className) != 0) return TRUE;
    }
    if (query->caption && WindowText(window) != query->caption) return TRUE;
    query->found.push_back(window);
    return TRUE;
}

std::vector<HWND> FindWindows(DWORD pid, const wchar_t* className, const wchar_t* caption, bool visibleOnly) {
    WindowQuery query{pid, className, caption, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}
}  // namespace

Program::Program(std::wstring folder) : exe_((folder.empty() ? ProgramDirectory() : folder) + kProgramExe) {}

Program::~Program() {
    End();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
}

bool Program::Start() {
    if (pi_.hProcess) return false;
    std::wstring command = L"\"" + exe_ + L"\"";
    // The program's folder as its working folder, as a shortcut would start it.
    const std::wstring folder = exe_.substr(0, exe_.find_last_of(L'\\') + 1);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_) !=
           FALSE;
}

bool Program::WaitReady(DWORD timeoutMs) {
    if (!pi_.hProcess) return false;
    const bool ready = WaitFor(
        [&] {
            if (!running()) return true;
            if (!window_) {
                const std::vector<HWND> hidden = FindWindows(pid(), L"#32770", kHiddenWindowCaption, false);
                if (!hidden.empty()) window_ = hidden.front();
            }
            return window_ && WaitForInputIdle(pi_.hProcess, 0) == 0;
        },
        timeoutMs);
    return ready && running() && window_;
}

bool Program::running() const { return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

bool Program::WaitExit(DWORD timeoutMs) {
    if (!pi_.hProcess) return true;
    return WaitFor([&] { return !running(); }, timeoutMs);
}

DWORD Program::exitCode() const {
    DWORD code = STILL_ACTIVE;
    if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

bool Program::Exit(DWORD timeoutMs) {
    if (!running()) return true;
    if (window_) PostMessageW(window_, WM_COMMAND, kCmdExit, 0);
    return WaitExit(timeoutMs);
}

std::vector<HWND> Program::Windows(const wchar_t* className) const {
    if (!pi_.hProcess) return {};
    return FindWindows(pid(), className, nullptr, true);
}

HWND Program::Dialog() const {
    for (HWND w : Windows(L"#32770"))
        if (w != window_) return w;
    return nullptr;
}

HWND Program::Menu() const {
    const std::vector<HWND> menus = Windows(L"#32768");
    return menus.empty() ? nullptr : menus.front();
}

bool Program::CloseMenu() {
    ULONGLONG lastTry = 0;
    int tries = 0;
    return WaitFor(
        [&] {
            const HWND menu = Menu();
            if (!menu) return true;
            if (GetTickCount64() - lastTry > 300) {
                // A real Esc first; should the keyboard belong to another thread, the
                // key goes straight into the menu's queue.
                if (tries++ % 2 == 0)
                    KeyPress(VK_ESCAPE);
                else
                    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                lastTry = GetTickCount64();
            }
            return false;
        },
        3000);
}

bool Program::End() {
    if (!pi_.hProcess) return true;
    if (running()) {
        CloseMenu();
        // Dialogs first: a modal one would outlive the window that owns it otherwise.
        WaitFor(
            [&] {
                const HWND dialog = Dialog();
                if (!dialog) return true;
                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                return WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 1000);
            },
            3000);
        if (!window_) WaitReady(2000);
        if (window_ && Exit(10000)) return true;
    }
    if (!running()) return true;
    TerminateProcess(pi_.hProcess, 0xDEAD);
    WaitForSingleObject(pi_.hProcess, 5000);
    return false;
}

// --------------------------------------------------------------- window text

std::wstring WindowText(HWND window) {
    // Read without a message (no wait on a busy owner), up to the longest title.
    wchar_t text[1024] = {};
    const int n = InternalGetWindowText(window, text, 1024);
    return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<std::wstring> ChildTexts(HWND window) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowText(child));
    return texts;
}

RECT WindowRect(HWND window) {
    RECT rc = {};
    GetWindowRect(window, &rc);
    return rc;
}

int WindowHeight(HWND window) {
    const RECT rc = WindowRect(window);
    return rc.bottom - rc.top;
}

}  // namespace rig
