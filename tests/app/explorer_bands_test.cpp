// The menu band and the Windows logo band of folder windows: hidden or shown through
// the rebar of the fake shell's folder windows (another process, the real rebar), at
// every apply, when the shell reports a new folder window while a flag is on, and
// shown again at exit. The rebar's true band states are read in its own process.
#include <windows.h>
#include <commctrl.h>

#include "shell_fixture.h"

namespace {

constexpr uint32_t Bit(int band) { return 1u << band; }

class ExplorerBands : public ShellTest {
protected:
    // A folder window of `className` at a place of its own, and its rebar.
    struct Folder {
        HWND frame;
        HWND rebar;
    };
    Folder MakeFolder(const wchar_t* className, uint32_t flags = 0) {
        const int n = folders_++;
        const HWND frame = shell.CreateFolderWindow(className, 40 + 30 * n, 60 + 30 * n, 520, 300, flags);
        EXPECT_NE(frame, nullptr);
        return {frame, rig::FolderRebar(frame)};
    }
    // Hides (or shows) a band the way the user or the shell would, from outside.
    static void ShowBand(HWND rebar, int band, bool show) { SendMessageW(rebar, RB_SHOWBAND, band, show); }

    size_t Queries(HWND rebar) const { return shell.Log(rebar, RB_GETBANDINFOA).size(); }

private:
    int folders_ = 0;
};

TEST_F(ExplorerBands, HiddenMenuInEveryFolderWindowAlsoLaterOnesAndEveryBandBackAtExit) {
    rig::settings::SetDword(L"HideMenu", 1);
    const Folder cabinet = MakeFolder(L"CabinetWClass");
    const Folder explore = MakeFolder(L"ExploreWClass");
    // A browser frame built the same way, and folder windows built otherwise.
    const Folder browser = MakeFolder(L"IEFrame");
    const Folder noWorker = MakeFolder(L"CabinetWClass", rig::kFolderNoWorker);
    const Folder noRebar = MakeFolder(L"CabinetWClass", rig::kFolderNoRebar);
    ASSERT_TRUE(cabinet.rebar && explore.rebar && browser.rebar);
    ASSERT_TRUE(rig::WindowText(noWorker.frame) == L"Folder" && rig::WindowText(noRebar.frame) == L"Folder");
    // The logo hidden by an earlier run, the address band by the user.
    ShowBand(cabinet.rebar, rig::kLogoBand, false);
    ShowBand(cabinet.rebar, rig::kAddressBand, false);
    ShowBand(browser.rebar, rig::kMenuBand, false);
    shell.ClearLog();

    StartProbed();
    // Exactly the menu band goes; bands hidden by others keep their state.
    EXPECT_EQ(shell.HiddenBands(cabinet.rebar), Bit(rig::kMenuBand) | Bit(rig::kLogoBand) | Bit(rig::kAddressBand));
    EXPECT_EQ(shell.HiddenBands(explore.rebar), Bit(rig::kMenuBand));
    EXPECT_EQ(shell.HiddenBands(browser.rebar), Bit(rig::kMenuBand));
    EXPECT_EQ(Queries(browser.rebar), 0u) << "a browser frame was looked into";
    EXPECT_EQ(shell.Log(browser.rebar, RB_SHOWBAND).size(), 0u);

    // A folder window opened now loses its menu band when the shell reports it.
    const Folder later = MakeFolder(L"CabinetWClass");
    EXPECT_TRUE(rig::WaitFor([&] { return shell.HiddenBands(later.rebar) == Bit(rig::kMenuBand); }))
        << "hidden bands " << shell.HiddenBands(later.rebar);

    Exit();
    for (const Folder& f : {cabinet, explore, later})
        EXPECT_EQ(shell.HiddenBands(f.rebar) & Bit(rig::kMenuBand), 0u) << f.frame;
    EXPECT_EQ(shell.HiddenBands(cabinet.rebar), Bit(rig::kLogoBand) | Bit(rig::kAddressBand));
    EXPECT_EQ(shell.HiddenBands(browser.rebar), Bit(rig::kMenuBand));
    EXPECT_EQ(rig::settings::Dword(L"HideMenu"), std::optional<DWORD>(1));
    EXPECT_EQ(rig::settings::Dword(L"HideFlag"), std::optional<DWORD>(0));
}

// A folder window of a shell of the other width: its rebar's band records are of that
// width (a 32-bit program and a 64-bit Explorer, and back).
TEST_F(ExplorerBands, AFolderWindowOfTheOtherWidthLosesItsMenuAndGetsItBack) {
    const std::wstring folder = rig::OtherWidthFolder();
    if (folder.empty()) GTEST_SKIP() << "no programs of the other width run here";
    rig::HostProcess other(folder, L"rig_shell.exe");
    ASSERT_TRUE(other.ok());
    const HWND rebar = rig::FolderRebar(other.CreateFolderWindow(L"CabinetWClass", 60, 80, 520, 300));
    ASSERT_NE(rebar, nullptr);
    ShowBand(rebar, rig::kLogoBand, false);
    rig::settings::SetDword(L"HideMenu", 1);
    StartProbed();
    EXPECT_EQ(other.HiddenBands(rebar), Bit(rig::kMenuBand) | Bit(rig::kLogoBand));
    Exit();
    EXPECT_EQ(other.HiddenBands(rebar), Bit(rig::kLogoBand));
}

TEST_F(ExplorerBands, WithBothFlagsOffOnlyWhatTheProgramHidShowsAgain) {
    StartProbed();
    const Folder folder = MakeFolder(L"CabinetWClass");
    ASSERT_TRUE(folder.rebar);
    // The report has come and gone: nothing asked the rebar anything.
    Settle();
    EXPECT_EQ(shell.Log(folder.rebar, RB_GETBANDCOUNT).size(), 0u);

    // Both flags 0: bands hidden by Explorer itself (the menu band from Vista on) or by
    // the user stay hidden, and the rebar is not even asked.
    ShowBand(folder.rebar, rig::kLogoBand, false);
    ShowBand(folder.rebar, rig::kMenuBand, false);
    shell.ClearLog();
    Apply();
    EXPECT_EQ(shell.Log(folder.rebar, RB_GETBANDCOUNT).size(), 0u);
    EXPECT_EQ(shell.HiddenBands(folder.rebar), Bit(rig::kLogoBand) | Bit(rig::kMenuBand));

    // What the program hid comes back at its end; the rest stays.
    ShowBand(folder.rebar, rig::kMenuBand, true);
    Exit();
    rig::settings::SetDword(L"HideMenu", 1);
    StartProbed();
    EXPECT_EQ(shell.HiddenBands(folder.rebar), Bit(rig::kLogoBand) | Bit(rig::kMenuBand));
    Exit();
    EXPECT_EQ(shell.HiddenBands(folder.rebar), Bit(rig::kLogoBand));
}

TEST_F(ExplorerBands, AFolderWindowThatShowsBeforeItsBandsLosesItsMenuOnceTheyAreThere) {
    rig::settings::SetDword(L"HideMenu", 1);
    StartProbed();
    const HWND frame = shell.CreateFolderWindow(L"CabinetWClass", 60, 60, 520, 300, rig::kFolderBandsLater);
    ASSERT_NE(frame, nullptr);
    HWND rebar = nullptr;
    ASSERT_TRUE(rig::WaitFor([&] { return (rebar = rig::FolderRebar(frame)) != nullptr; }));
    EXPECT_TRUE(rig::WaitFor([&] { return shell.HiddenBands(rebar) == Bit(rig::kMenuBand); }, 6000))
        << "hidden bands " << shell.HiddenBands(rebar);
}

TEST_F(ExplorerBands, HiddenLogoAndARebarThatClaimsEndlessBands) {
    rig::settings::SetDword(L"HideFlag", 1);
    const Folder liar = MakeFolder(L"CabinetWClass", rig::kRebarCountLies);
    const Folder folder = MakeFolder(L"ExploreWClass");
    shell.ClearLog();
    StartProbed();
    EXPECT_EQ(shell.HiddenBands(folder.rebar), Bit(rig::kLogoBand));
    // Its real bands are handled, and the walk ends long before 0x7FFFFFFF.
    EXPECT_EQ(shell.HiddenBands(liar.rebar), Bit(rig::kLogoBand));
    EXPECT_GE(Queries(liar.rebar), static_cast<size_t>(rig::kBandCount));
    EXPECT_LE(Queries(liar.rebar), 64u);
    // Bands the rebar cannot describe are not shown or hidden.
    for (const rig::LogEntry& e : shell.Log(liar.rebar, RB_SHOWBAND))
        EXPECT_LT(e.wParam, static_cast<uint64_t>(rig::kBandCount));
    Exit();
    EXPECT_EQ(shell.HiddenBands(folder.rebar), 0u);
    EXPECT_EQ(rig::settings::Dword(L"HideFlag"), std::optional<DWORD>(1));
}

TEST_F(ExplorerBands, ARebarThatAnswersAQueryLateFindsItsBlockStillThere) {
    // The rebar takes the query of the menu band and stays inside it past the program's
    // wait; once awake it writes its answer into the block the query points to.
    rig::settings::SetDword(L"HideMenu", 1);
    const Folder folder = MakeFolder(L"CabinetWClass");
    ASSERT_TRUE(folder.rebar);
    ASSERT_TRUE(shell.SlowDown(folder.rebar, RB_GETBANDINFOA, 1500, rig::kMenuBand));
    StartProbed();
    // Once the shell has caught up, an apply hides the menu band as usual.
    EXPECT_TRUE(rig::WaitFor(
        [&] {
            Apply();
            return shell.HiddenBands(folder.rebar) == Bit(rig::kMenuBand);
        },
        10000))
        << "hidden bands " << shell.HiddenBands(folder.rebar);
    EXPECT_FALSE(shell.SawFreedBlock()) << "the block was freed under the late answer";
    EXPECT_TRUE(shell.Alive());
}

}  // namespace
