// Where the renderer is looked for, in-process against Wine's registry and
// file system.
#include "app/renderer_launch.h"

#include "config/product.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"
#include "tests/support/temp_folder.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using test_support::ScopedKeyRemoval;
using test_support::SetRegistryString;
using test_support::TempFolder;

const std::wstring kRenderer = L"\\Marrowdale 3D Screensaver.exe";
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::wstring kOwnEntry = kUninstall + L"Marrowdale 3D Screensaver_is1";
const std::wstring kCombinedEntry = kUninstall + L"Marrowdale 3D Screensaver and Animated Wallpaper_is1";

void PlaceRenderer(const std::wstring& folder) {
    ASSERT_TRUE(test_support::WriteBinaryFile(folder + kRenderer, "MZ"));
}

std::wstring ProgramFilesFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    return std::wstring(folder) + L"\\Marrowdale 3D Screensaver";
}

// Every test starts with no installer values, no renderer under Program
// Files and an empty current folder, and leaves things so.
class FindRendererPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::GetCurrentDirectoryW(MAX_PATH, savedDirectory_);
        ASSERT_TRUE(::SetCurrentDirectoryW(current_.Path().c_str()));
        test_support::RemoveFolderTree(ProgramFilesFolder());
    }
    void TearDown() override {
        ::SetCurrentDirectoryW(savedDirectory_);
        test_support::RemoveFolderTree(ProgramFilesFolder());
    }

    ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    ScopedKeyRemoval ownEntry_{HKEY_LOCAL_MACHINE, kOwnEntry};
    ScopedKeyRemoval combinedEntry_{HKEY_LOCAL_MACHINE, kCombinedEntry};
    TempFolder current_;
    TempFolder appPath_;
    TempFolder own_;
    TempFolder combined_;
    wchar_t savedDirectory_[MAX_PATH] = {};
};

TEST_F(FindRendererPathTest, NothingAnywhereGivesEmptyPath) { EXPECT_EQ(FindRendererPath(), L""); }

TEST_F(FindRendererPathTest, AppPathFolderWins) {
    SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", appPath_.Path());
    PlaceRenderer(appPath_.Path());
    PlaceRenderer(own_.Path());
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    PlaceRenderer(current_.Path());
    EXPECT_EQ(FindRendererPath(), appPath_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, WrongAppPathSkipsUninstallEntriesAndFallsToCurrentFolder) {
    SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", appPath_.Path());
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    PlaceRenderer(own_.Path());
    PlaceRenderer(current_.Path());
    EXPECT_EQ(FindRendererPath(), current_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, WrongAppPathFallsToProgramFilesBeforeCurrentFolder) {
    SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", appPath_.Path());
    ASSERT_TRUE(::CreateDirectoryW(ProgramFilesFolder().c_str(), nullptr));
    PlaceRenderer(ProgramFilesFolder());
    PlaceRenderer(current_.Path());
    EXPECT_EQ(FindRendererPath(), ProgramFilesFolder() + kRenderer);
}

TEST_F(FindRendererPathTest, CombinedPackageEntryAloneIsFound) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kCombinedEntry, L"InstallLocation", combined_.Path());
    PlaceRenderer(combined_.Path());
    EXPECT_EQ(FindRendererPath(), combined_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, OwnUninstallEntryWinsOverCombinedPackage) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    SetRegistryString(HKEY_LOCAL_MACHINE, kCombinedEntry, L"InstallLocation", combined_.Path());
    PlaceRenderer(own_.Path());
    PlaceRenderer(combined_.Path());
    EXPECT_EQ(FindRendererPath(), own_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, TrailingBackslashGivesDoubledBackslashThatIsFound) {
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path() + L"\\");
    PlaceRenderer(own_.Path());
    EXPECT_EQ(FindRendererPath(), own_.Path() + L"\\" + kRenderer);
}

TEST_F(FindRendererPathTest, EmptyAppPathCountsAsMissing) {
    SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", L"");
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    PlaceRenderer(own_.Path());
    EXPECT_EQ(FindRendererPath(), own_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, RendererOnlyInCurrentFolder) {
    PlaceRenderer(current_.Path());
    EXPECT_EQ(FindRendererPath(), current_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, AppPathOfAnotherRegistryTypeIsIgnored) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    const std::wstring folder = appPath_.Path();
    ::RegSetValueExW(key, L"AppPath", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                     static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    PlaceRenderer(appPath_.Path());
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    PlaceRenderer(own_.Path());
    EXPECT_EQ(FindRendererPath(), own_.Path() + kRenderer);
}

TEST_F(FindRendererPathTest, WorkingDirectoryPrefersAppPathThenOwnEntryThenRendererFolder) {
    const std::wstring renderer = current_.Path() + kRenderer;
    EXPECT_EQ(RendererWorkingDirectory(renderer), current_.Path() + L"\\");

    SetRegistryString(HKEY_LOCAL_MACHINE, kCombinedEntry, L"InstallLocation", combined_.Path());
    EXPECT_EQ(RendererWorkingDirectory(renderer), current_.Path() + L"\\");

    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path());
    EXPECT_EQ(RendererWorkingDirectory(renderer), own_.Path());

    SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", appPath_.Path());
    EXPECT_EQ(RendererWorkingDirectory(renderer), appPath_.Path());
}

// The installer is a 32-bit program: on 64-bit Windows its uninstall entries
// are in the 32-bit view, where the 32-bit program looks for them. The same
// entry in the 64-bit view alone is not the installer's and is not found;
// the control puts it in the program's own view.
struct EntryViewCase {
    const char* name;
    REGSAM view;
    bool found;
};

class EntryViewTest : public FindRendererPathTest, public ::testing::WithParamInterface<EntryViewCase> {};

TEST_P(EntryViewTest, UninstallEntryCountsInTheProgramsOwnViewOnly) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "a 64-bit process sees one registry view";
    const EntryViewCase& c = GetParam();
    SetRegistryString(HKEY_LOCAL_MACHINE, kOwnEntry, L"InstallLocation", own_.Path(), c.view);
    PlaceRenderer(own_.Path());
    const std::wstring found = FindRendererPath();
    const std::wstring directory = RendererWorkingDirectory(current_.Path() + kRenderer);
    test_support::DeleteKeyTree(HKEY_LOCAL_MACHINE, kOwnEntry, c.view);
    EXPECT_EQ(found, c.found ? own_.Path() + kRenderer : L"");
    EXPECT_EQ(directory, c.found ? own_.Path() : current_.Path() + L"\\");
}

INSTANTIATE_TEST_SUITE_P(Views, EntryViewTest,
                         ::testing::Values(EntryViewCase{"ThirtyTwoBitView", KEY_WOW64_32KEY, true},
                                           EntryViewCase{"SixtyFourBitViewAlone", KEY_WOW64_64KEY, false}),
                         test_support::CaseName<EntryViewCase>);

TEST(ProgramFilesCandidate, IsTheFolderOfThirtyTwoBitPrograms) {
    // The shipped program is 32-bit: on 64-bit Windows the system gives it
    // the Program Files folder of 32-bit programs.
    wchar_t folder[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE));
    EXPECT_STREQ(folder, sizeof(void*) == 4 ? L"C:\\Program Files (x86)" : L"C:\\Program Files");
}

}  // namespace
