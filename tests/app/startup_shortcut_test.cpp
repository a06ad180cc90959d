// The shortcut in the user's Startup folder: made at an apply when "Startup" is on and
// it is missing, never rewritten, deleted when "Startup" is off; read back with the
// shell's own link object.
#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "shell_fixture.h"

namespace {

struct Link {
    std::wstring target;
    std::wstring workingDirectory;
    std::wstring description;
    std::wstring arguments;
    int showCommand = 0;
};

std::wstring StartupFolder(bool create = false) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, CSIDL_STARTUP, create)) return {};
    return path;
}

class StartupShortcut : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        folder = StartupFolder(true);
        ASSERT_FALSE(folder.empty());
        link = folder + L"\\Clarovia.lnk";
        DeleteFileW(link.c_str());
    }
    void TearDown() override {
        ShellTest::TearDown();
        DeleteFileW(link.c_str());
        CreateDirectoryW(folder.c_str(), nullptr);
        CoUninitialize();
    }

    bool Exists() const { return GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::optional<Link> Read() const { return Read(link); }

    static std::optional<Link> Read(const std::wstring& path) {
        IShellLinkW* shellLink = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&shellLink))))
            return std::nullopt;
        std::optional<Link> result;
        IPersistFile* file = nullptr;
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
                Link l;
                wchar_t text[1024] = {};
                shellLink->GetPath(text, 1024, nullptr, SLGP_RAWPATH);
                l.target = text;
                text[0] = 0;
                shellLink->GetWorkingDirectory(text, 1024);
                l.workingDirectory = text;
                text[0] = 0;
                shellLink->GetDescription(text, 1024);
                l.description = text;
                text[0] = 0;
                shellLink->GetArguments(text, 1024);
                l.arguments = text;
                shellLink->GetShowCmd(&l.showCommand);
                result = l;
            }
            file->Release();
        }
        shellLink->Release();
        return result;
    }

    static void Write(const std::wstring& path, const wchar_t* target) {
        IShellLinkW* shellLink = nullptr;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                               reinterpret_cast<void**>(&shellLink))));
        shellLink->SetPath(target);
        shellLink->SetDescription(L"old");
        IPersistFile* file = nullptr;
        ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
        EXPECT_TRUE(SUCCEEDED(file->Save(path.c_str(), TRUE)));
        file->Release();
        shellLink->Release();
    }

    // A shortcut of an older installation, somewhere else.
    void WriteOldShortcut() const { Write(link, L"C:\\Old\\Clarovia.exe"); }

    // The target a link file gives back for `path`.
    static std::wstring ThroughLinkFile(const std::wstring& path) {
        const rig::TempFolder scratch;
        const std::wstring probeLink = scratch.path() + L"probe.lnk";
        Write(probeLink, path.c_str());
        const std::optional<Link> l = Read(probeLink);
        return l ? l->target : std::wstring();
    }

    void ExpectPointsAt(const std::wstring& programFolder) const {
        const std::optional<Link> l = Read();
        ASSERT_TRUE(l) << "no readable shortcut";
        // Wine keeps a link's target in the ANSI code page: compared with what becomes of
        // the same path in a link of the test's own (on Windows, the path itself).
        EXPECT_EQ(l->target, ThroughLinkFile(programFolder + rig::kProgramExe));
        EXPECT_EQ(l->workingDirectory, programFolder.substr(0, programFolder.size() - 1));
        EXPECT_EQ(l->description, L"Clarovia");
        EXPECT_EQ(l->arguments, L"");
        EXPECT_EQ(l->showCommand, SW_SHOWNORMAL);
    }

    std::wstring folder;
    std::wstring link;
};

TEST_F(StartupShortcut, MadeWhenMissingNeverRewrittenAndDeletedWhenOff) {
    rig::settings::SetDword(L"Startup", 1);
    StartProbed();
    ASSERT_TRUE(Exists());
    ExpectPointsAt(rig::ProgramDirectory());

    // One that is there already is left as it is, even if it points elsewhere.
    WriteOldShortcut();
    Apply();
    ASSERT_TRUE(Read());
    EXPECT_EQ(Read()->target, L"C:\\Old\\Clarovia.exe");

    // Deleted by hand: back at the next apply.
    ASSERT_TRUE(DeleteFileW(link.c_str()));
    Apply();
    ExpectPointsAt(rig::ProgramDirectory());

    // "Startup" off: gone at the next start.
    Exit();
    EXPECT_TRUE(Exists()) << "the shortcut is not the program's to remove at exit";
    rig::settings::SetDword(L"Startup", 0);
    StartProbed();
    EXPECT_FALSE(Exists());
    Apply();
    EXPECT_FALSE(Exists());
}

TEST_F(StartupShortcut, MissingStartupFolderIsMadeForAProgramFolderOutsideTheCodePage) {
    ASSERT_TRUE(RemoveDirectoryW(folder.c_str())) << "the Startup folder is not empty";
    // Hangul and Latin letters that code page 932 cannot write.
    rig::TempFolder programFolder(L"-한글ü");
    ASSERT_TRUE(programFolder.ok());
    ASSERT_TRUE(programFolder.CopyFromProgramDirectory(rig::kProgramExe));
    ASSERT_TRUE(programFolder.CopyFromProgramDirectory(L"vitrel.dll"));
    rig::settings::SetDword(L"Startup", 1);

    program = std::make_unique<rig::Program>(programFolder.path());
    ASSERT_TRUE(program->Run());
    ASSERT_TRUE(probe.Attach(program->threadId()));
    Settle();
    ASSERT_TRUE(Exists());
    ExpectPointsAt(programFolder.path());
    Exit();
    program.reset();
}

}  // namespace
