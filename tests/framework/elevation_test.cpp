// Who may change the library an elevated run would load. Wine runs every process with
// an elevated token and a linked token for the same user; it keeps no rights of its
// own on files (each reads as its user's to change) and its linked token keeps the
// administrators' group, so only the one answer can be shown here: a copy in a folder
// of the user's own is one that a run without elevation could replace.
#include <windows.h>

#include <gtest/gtest.h>

#include "elevation.h"
#include "program.h"

namespace {

TEST(Elevation, ALibraryInAFolderOfTheUsersOwnCouldBeReplacedWithoutElevation) {
    const rig::TempFolder folder(L"-portable");
    ASSERT_TRUE(folder.ok());
    ASSERT_TRUE(folder.CopyFromProgramDirectory(L"vitrel.dll"));
    EXPECT_TRUE(fw::ChangeableWithoutElevation(folder.path() + L"vitrel.dll"));
    // Wine's processes share one user and every right: none counts as elevated.
    EXPECT_FALSE(fw::RunsElevated());
}

}  // namespace
