// Where the renderer is looked for, in-process against Wine's registry and
// file system.
#include "app/renderer_launch.h"

#include "config/product.h"
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

}  // namespace
