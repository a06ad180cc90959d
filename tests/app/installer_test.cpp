// The installer of this test program's width that ./package.sh makes (dist/), as a user
// meets it: installed silently for the current user, its program started from where it
// went, installed again over the running copy and over an installation of the other
// width, uninstalled silently. Every file is checked statically as well
// (tests/static/check_package.py).
#include <windows.h>
#include <shlobj.h>
#include <psapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "companion_protocol.h"
#include "program_fixture.h"
#include "version.h"

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Clarovia";
constexpr DWORD kInstallerTimeoutMs = 60000;
constexpr DWORD kMarker = 123;  // a ClaroviaValue that is not the default

std::wstring Widen(const char* text) {
    std::wstring wide;
    while (*text) wide += static_cast<wchar_t>(*text++);
    return wide;
}

std::wstring Folder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return path;
}

// The source tree: three folders above build\<preset>\bin\.
std::wstring SourceFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    for (int up = 0; up < 4; ++up) path.resize(path.find_last_of(L'\\'));
    return path + L"\\";
}

std::wstring DistFolder() { return SourceFolder() + L"dist\\"; }

#if defined(_WIN64)
constexpr wchar_t kPackageArch[] = L"x64";
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
// The build whose program and library the other installer would lay out.
constexpr wchar_t kOwnBuild[] = L"x86_64";
constexpr wchar_t kOtherBuild[] = L"i686";
// The 32-bit companion and its library, which the x64 package carries for 32-bit programs.
const std::vector<std::wstring> kCompanionFiles = {std::wstring(companion::kFolder) + companion::kExe,
                                                   std::wstring(companion::kFolder) + companion::kLibrary};
#else
constexpr wchar_t kPackageArch[] = L"x86";
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
constexpr wchar_t kOwnBuild[] = L"i686";
constexpr wchar_t kOtherBuild[] = L"x86_64";
const std::vector<std::wstring> kCompanionFiles;
#endif

std::wstring Installer() {
    return DistFolder() + L"Clarovia-" + Widen(CLAROVIA_VERSION_TEXT) + L"-" + kPackageArch + L"-setup.exe";
}

std::wstring InstallFolder() { return Folder(CSIDL_LOCAL_APPDATA) + L"\\Programs\\Clarovia\\"; }
std::wstring StartMenuEntry() { return Folder(CSIDL_PROGRAMS) + L"\\Clarovia.lnk"; }
std::wstring StartupShortcut() { return Folder(CSIDL_STARTUP) + L"\\Clarovia.lnk"; }

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// When a file was last written (0 if it cannot be read).
ULONGLONG LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// The contents of a file (empty if it cannot be read).
std::string Bytes(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD done = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size())
        bytes.clear();
    CloseHandle(file);
    return bytes;
}

// The machine a program or library is built for (IMAGE_FILE_MACHINE_*), 0 if none.
WORD Machine(const std::wstring& path) {
    const std::string bytes = Bytes(path);
    if (bytes.size() < 0x40) return 0;
    DWORD header = 0;
    std::memcpy(&header, &bytes[0x3C], sizeof header);
    WORD machine = 0;
    if (header + 6 > bytes.size() || bytes.compare(header, 4, std::string("PE\0\0", 4)) != 0) return 0;
    std::memcpy(&machine, &bytes[header + 4], sizeof machine);
    return machine;
}

// Whether the process `pid` maps the module `path` (a 32-bit program's modules too).
bool Maps(DWORD pid, const std::wstring& path) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    HMODULE modules[256];
    DWORD size = 0;
    bool found = false;
    if (process && K32EnumProcessModulesEx(process, modules, sizeof modules, &size, LIST_MODULES_ALL)) {
        wchar_t name[MAX_PATH];
        for (DWORD i = 0; i < size / sizeof(HMODULE) && i < 256 && !found; ++i)
            found = K32GetModuleFileNameExW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, path.c_str()) == 0;
    }
    if (process) CloseHandle(process);
    return found;
}

// A file that can be opened for writing.
bool Writable(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L"\\");
            } else if (!DeleteFileW((folder + name).c_str())) {
                // A library that processes of this session still map (Wine never lets
                // go of a hook module) can only be moved out of the way.
                wchar_t temp[MAX_PATH];
                GetTempPathW(MAX_PATH, temp);
                const std::wstring aside = std::wstring(temp) + L"installer-test-" + std::to_wstring(GetTickCount()) +
                                           L"-" + name;
                MoveFileExW((folder + name).c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING);
            }
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

// Rewrites a file in place with edit applied to its contents (edit returns false if
// it found nothing to change).
bool Edit(const std::wstring& path, bool (*edit)(std::string& bytes)) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD done = 0;
    bool ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size() &&
              edit(bytes) && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
    CloseHandle(file);
    return ok;
}

// The file version 9.9.9.9 in the version record, as another release would carry.
bool AnotherVersion(std::string& bytes) {
    const size_t fixed = bytes.find(std::string("\xBD\x04\xEF\xFE", 4));
    if (fixed == std::string::npos || fixed + 16 > bytes.size()) return false;
    const DWORD version[2] = {MAKELONG(9, 9), MAKELONG(9, 9)};  // dwFileVersionMS, dwFileVersionLS
    std::memcpy(&bytes[fixed + 8], version, sizeof version);
    return true;
}

// Another link time, version record untouched: another build of the same version, as
// a rebuild or the other architecture's library is.
bool AnotherBuild(std::string& bytes) {
    if (bytes.size() < 0x40) return false;
    DWORD header = 0;
    std::memcpy(&header, &bytes[0x3C], sizeof header);
    if (header + 12 > bytes.size()) return false;
    ++bytes[header + 8];  // IMAGE_FILE_HEADER.TimeDateStamp
    return true;
}

// Sets when a file was last written; a file the installer writes gets the time of the
// file it was made from.
bool SetLastWrite(const std::wstring& path, ULONGLONG time) {
    const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const FILETIME stamp = {static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
    const bool ok = SetFileTime(file, nullptr, nullptr, &stamp);
    CloseHandle(file);
    return ok;
}

std::wstring UninstallValue(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

bool UninstallKeyExists() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Runs a program with arguments and waits for it, pumping; its exit code, or ~0u.
DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring command = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return ~0u;
    CloseHandle(pi.hThread);
    DWORD code = ~0u;
    if (rig::WaitFor([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, kInstallerTimeoutMs))
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    return code;
}

// The running copy's hidden window, of any process (null if none).
HWND RunningCopy() { return FindWindowW(L"#32770", rig::kHiddenWindowCaption); }

// Ends a copy the test did not start (the one a silent update brings back).
void EndRunningCopy() {
    const HWND window = RunningCopy();
    if (!window) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageW(window, WM_COMMAND, rig::kCmdExit, 0);
    if (process) {
        if (!rig::WaitFor([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 10000))
            TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

class InstallerTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        ASSERT_TRUE(Exists(Installer())) << "no installer: run ./package.sh first";
        RemoveInstallation();
    }

    void TearDown() override {
        EndRunningCopy();
        ProgramTest::TearDown();
        RemoveInstallation();
    }

    static void RemoveInstallation() {
        EndRunningCopy();
        RemoveTree(InstallFolder());
        DeleteFileW(StartMenuEntry().c_str());
        DeleteFileW(StartupShortcut().c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallKey);
    }

    // Silent uninstall: the uninstaller hands over to a copy of itself in %TEMP% and
    // returns; the program's part is done once the installed folder is gone (its last
    // step), the settings' part may follow.
    static bool Uninstall(const std::wstring& arguments = L"/S") {
        if (RunAndWait(InstallFolder() + L"Uninstall.exe", arguments) != 0) return false;
        return rig::WaitFor([] { return !Exists(InstallFolder()); }, 30000);
    }
};

}  // namespace

TEST_F(InstallerTest, SilentInstallRunsUpdatesOverARunningCopyAndUninstallsKeepingTheSettings) {
    rig::settings::SetDword(L"ClaroviaValue", kMarker);

    // Installed for this user: the files, the Start menu entry, the entry in the list
    // of installed programs.
    ASSERT_EQ(RunAndWait(Installer(), L"/S"), 0u);
    std::vector<std::wstring> files = {L"Clarovia.exe", L"vitrel.dll", L"readme.txt", L"LICENSE.txt", L"Uninstall.exe"};
    files.insert(files.end(), kCompanionFiles.begin(), kCompanionFiles.end());
    for (const std::wstring& file : files)
        EXPECT_TRUE(Exists(InstallFolder() + file)) << "not installed: " << testing::PrintToString(file);
    EXPECT_TRUE(Exists(StartMenuEntry()));
    EXPECT_EQ(UninstallValue(L"DisplayVersion"), Widen(CLAROVIA_VERSION_TEXT));
    EXPECT_EQ(UninstallValue(L"InstallLocation") + L"\\", InstallFolder());
    EXPECT_FALSE(RunningCopy()) << "a first silent install starts nothing";
    EXPECT_EQ(rig::settings::Dword(L"Startup"), std::nullopt) << "start with Windows is the user's choice";

    // The installed program comes up with its tray icon.
    program = std::make_unique<rig::Program>(InstallFolder());
    ASSERT_TRUE(program->Run());
    EXPECT_TRUE(rig::WaitFor([&] { return !tray->Calls(NIM_ADD).empty(); }));
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), kMarker);

    // Installing over it ends it by its exit command (exit code 0, settings written),
    // replaces the files, and brings the program back.
    tray->Clear();
    ASSERT_EQ(RunAndWait(Installer(), L"/S"), 0u);
    EXPECT_TRUE(program->WaitExit(1000)) << "the running copy was not ended";
    EXPECT_EQ(program->exitCode(), 0u) << "the running copy was not ended by its exit command";
    HWND restarted = nullptr;
    ASSERT_TRUE(rig::WaitFor([&] { return (restarted = RunningCopy()) != nullptr; }, 10000))
        << "a silent update does not bring back the copy it ended";
    EXPECT_TRUE(rig::WaitFor([&] { return !tray->Calls(NIM_ADD).empty(); }));

    // The silent uninstall ends the copy, removes the files, the Start menu entry and
    // the entry in the list; the settings stay.
    DWORD pid = 0;
    GetWindowThreadProcessId(restarted, &pid);
    const HANDLE copy = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(Uninstall());
    EXPECT_TRUE(rig::WaitFor([&] { return WaitForSingleObject(copy, 0) == WAIT_OBJECT_0; }));
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(copy, &code);
    CloseHandle(copy);
    EXPECT_EQ(code, 0u) << "the uninstaller did not end the copy by its exit command";
    EXPECT_FALSE(Exists(InstallFolder()));
    EXPECT_FALSE(Exists(StartMenuEntry()));
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_TRUE(rig::settings::SectionExists(rig::settings::kStatus));
    EXPECT_EQ(rig::settings::Dword(L"ClaroviaValue"), kMarker);
}

TEST_F(InstallerTest, StartWithWindowsIsTheProgramsOwnSettingAndSettingsGoOnlyWhenAsked) {
    // /STARTUP turns on the program's "Startup" setting; the program makes its shortcut.
    ASSERT_EQ(RunAndWait(Installer(), L"/S /STARTUP"), 0u);
    EXPECT_EQ(rig::settings::Dword(L"Startup"), 1u);
    EXPECT_FALSE(Exists(StartupShortcut())) << "the installer makes no shortcut of its own";
    program = std::make_unique<rig::Program>(InstallFolder());
    ASSERT_TRUE(program->Run());
    EXPECT_TRUE(rig::WaitFor([] { return Exists(StartupShortcut()); }));

    // Uninstalled with /REMOVESETTINGS: the running copy ends, and the shortcut, which
    // would point at nothing, goes with the settings.
    EXPECT_TRUE(Uninstall(L"/S /REMOVESETTINGS"));
    EXPECT_TRUE(program->WaitExit());
    EXPECT_EQ(program->exitCode(), 0u);
    EXPECT_FALSE(Exists(StartupShortcut()));
    EXPECT_TRUE(rig::WaitFor([] { return !rig::settings::SectionExists(rig::settings::kStatus); }))
        << "the settings were kept although their removal was asked for";
}

class LibraryInUseTest : public InstallerTest {
protected:
    // Installs, changes the installed library `edited` with edit (none: the very file
    // being installed), lets the installed copy's hooks map its libraries (the
    // companion's into a 32-bit program, where 32-bit programs run) and ends the copy,
    // so that they are still in use by others, and installs again.
    void UpdateOverLibraryInUse(bool (*edit)(std::string& bytes), bool updates,
                                const std::wstring& edited = L"vitrel.dll") {
        ASSERT_EQ(RunAndWait(Installer(), L"/S"), 0u);
        std::vector<std::wstring> libraries = {InstallFolder() + L"vitrel.dll"};
        std::unique_ptr<rig::HostProcess> program32;
        if (!kCompanionFiles.empty() && !rig::OtherWidthFolder().empty()) {
            libraries.push_back(InstallFolder() + kCompanionFiles[1]);
            program32 = std::make_unique<rig::HostProcess>(rig::OtherWidthFolder(), L"rig_target.exe");
            ASSERT_TRUE(program32->ok());
        }
        const std::wstring exe = InstallFolder() + L"Clarovia.exe";
        if (edit) {
            ASSERT_TRUE(Edit(InstallFolder() + edited, edit));
        }
        std::vector<std::string> inUse;
        for (const std::wstring& library : libraries) inUse.push_back(Bytes(library));

        // The hooks reach this process (and under Wine stay mapped in it), the
        // companion's the 32-bit program once its window takes a message.
        program = std::make_unique<rig::Program>(InstallFolder());
        ASSERT_TRUE(program->Run());
        PostMessageW(nullptr, WM_NULL, 0, 0);
        rig::PumpMessages();
        if (program32) {
            const HWND window = program32->Create(rig::WindowSpec{});
            const auto mapped = [&] { return program32->SetText(window, L"32") && Maps(program32->pid(), libraries[1]); };
            ASSERT_TRUE(rig::WaitFor(mapped, 10000)) << "the companion's hooks did not reach a 32-bit program";
        }
        ASSERT_TRUE(program->Exit());
        ASSERT_FALSE(Writable(libraries[0]))
            << "the ended copy's library is no longer in use (the case cannot be made here)";

        // New hooks from the same path would run in the old module: unless each is the
        // very file being installed, the update stops, and neither the libraries nor the
        // program is written.
        constexpr ULONGLONG kStamp = 126227808000000000;  // 2001-01-01
        ASSERT_TRUE(SetLastWrite(exe, kStamp));
        const DWORD code = RunAndWait(Installer(), L"/S");
        for (size_t i = 0; i < libraries.size(); ++i)
            EXPECT_EQ(Bytes(libraries[i]), inUse[i]) << "replaced in use: " << testing::PrintToString(libraries[i]);
        if (updates) {
            EXPECT_EQ(code, 0u);
            EXPECT_NE(LastWrite(exe), kStamp) << "the update kept the same library but did not write the program";
            // The uninstaller moves what is still in use aside: the folder goes.
            EXPECT_TRUE(Uninstall()) << "libraries in use kept the installed folder";
        } else {
            EXPECT_EQ(code, 2u) << "the update went ahead over another library in use";
            EXPECT_EQ(LastWrite(exe), kStamp) << "the program was written although the update stopped";
            EXPECT_FALSE(RunningCopy());
        }
        if (!kCompanionFiles.empty() && !program32)
            GTEST_SKIP() << "the companion's library was not put in use: no 32-bit programs run here";
    }
};

TEST_F(LibraryInUseTest, AnotherVersionStopsAnUpdateBeforeAnythingIsWritten) {
    UpdateOverLibraryInUse(AnotherVersion, false);
}

// The version record does not tell builds apart.
TEST_F(LibraryInUseTest, AnotherBuildOfTheSameVersionStopsAnUpdateBeforeAnythingIsWritten) {
    UpdateOverLibraryInUse(AnotherBuild, false);
}

TEST_F(LibraryInUseTest, TheSameFileStaysAndTheUpdateGoesOn) { UpdateOverLibraryInUse(nullptr, true); }

// The companion's library by the same rules, the program's the very file being installed.
TEST_F(LibraryInUseTest, AnotherBuildOfTheCompanionsLibraryStopsAnUpdateBeforeAnythingIsWritten) {
    if (kCompanionFiles.empty()) GTEST_SKIP() << "the x86 package has no companion";
    if (rig::OtherWidthFolder().empty()) GTEST_SKIP() << "no 32-bit programs run here to hold the companion's library";
    UpdateOverLibraryInUse(AnotherBuild, false, kCompanionFiles[1]);
}

// An installation over what is in the folder ends with the program and the library of
// one machine beside each other: its own pair when it could write every file (exit
// code 0), else, with exit code 2, the machine it found. The installation of the other
// width is laid out from that build, in the folder both installers use.
TEST_F(InstallerTest, AnUpdateWritesEveryFileOrStopsWithoutMixingMachines) {
    const struct {
        const wchar_t* build;   // the installation found: build\<preset>\bin's files
        const wchar_t* locked;  // a file another program holds open, allowing no one to write it
        bool completes;
    } rows[] = {
        {kOtherBuild, nullptr, true},
        {kOtherBuild, L"Clarovia.exe", false},
        {kOwnBuild, L"LICENSE.txt", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.build) + L" " + (row.locked ? row.locked : L"")));
        RemoveInstallation();
        std::wstring location = InstallFolder();
        location.pop_back();
        // (An emptied folder may stay behind under Wine.)
        const int made = SHCreateDirectoryExW(nullptr, location.c_str(), nullptr);
        ASSERT_TRUE(made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS);
        const std::wstring bin = SourceFolder() + L"build\\" + row.build + L"\\bin\\";
        for (const wchar_t* file : {L"Clarovia.exe", L"vitrel.dll"})
            ASSERT_TRUE(CopyFileW((bin + file).c_str(), (InstallFolder() + file).c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((SourceFolder() + L"LICENSE.txt").c_str(), (InstallFolder() + L"LICENSE.txt").c_str(), FALSE));
        const WORD found = Machine(InstallFolder() + L"Clarovia.exe");
        ASSERT_EQ(Machine(InstallFolder() + L"vitrel.dll"), found);

        HANDLE lock = INVALID_HANDLE_VALUE;
        if (row.locked) {
            lock = CreateFileW((InstallFolder() + row.locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        }
        const DWORD code = RunAndWait(Installer(), L"/S");
        if (lock != INVALID_HANDLE_VALUE) CloseHandle(lock);

        const WORD exe = Machine(InstallFolder() + L"Clarovia.exe");
        EXPECT_EQ(Machine(InstallFolder() + L"vitrel.dll"), exe) << "a library of another machine beside the program";
        if (row.completes) {
            EXPECT_EQ(code, 0u);
            EXPECT_EQ(exe, kMachine);
        } else {
            EXPECT_EQ(code, 2u) << "a silent installation that could not write a file did not fail";
            EXPECT_EQ(exe, found);
        }
    }
}
