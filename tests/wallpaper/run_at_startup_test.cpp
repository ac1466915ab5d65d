// The wallpaper's command and the Run-at-start-up entry, against Wine's real
// registry: the installer's values under HKEY_LOCAL_MACHINE and the Run value
// under HKEY_CURRENT_USER.
#include "wallpaper/run_at_startup.h"

#include "config/product.h"
#include "config/registry_seam.h"
#include "tests/support/access_recorder.h"
#include "tests/support/scoped_value.h"
#include "tests/support/scratch_key.h"
#include "wallpaper/wallpaper_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::SetRegistryString;

const std::wstring kUninstallEntry =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Marrowdale 3D Screensaver_is1";
const wchar_t kFolder[] = L"C:\\Games\\Marrowdale";
const wchar_t kCommand[] = L"\"C:\\Games\\Marrowdale\\Marrowdale 3D Screensaver.exe\" /w";
const wchar_t kUninstallFolder[] = L"D:\\Tidewright\\M3D";
const wchar_t kUninstallCommand[] = L"\"D:\\Tidewright\\M3D\\Marrowdale 3D Screensaver.exe\" /w";

// Each test starts with no installer values and no Run value and leaves
// things as it found them.
class RunAtStartupTest : public ::testing::Test {
protected:
    // Null leaves a value missing.
    void Install(const wchar_t* appPath, const wchar_t* installLocation) {
        if (appPath) SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", appPath);
        if (installLocation) SetRegistryString(HKEY_LOCAL_MACHINE, kUninstallEntry, L"InstallLocation", installLocation);
    }
    void SetRunValue(const wchar_t* text) {
        if (text) SetRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValueName, text);
    }
    // The Run value's raw data; false when it is missing or not REG_SZ.
    bool StoredRunValue(std::vector<BYTE>& data) {
        DWORD type = REG_NONE;
        return test_support::GetRegistryRaw(HKEY_CURRENT_USER, kRunKey, kRunValueName, type, data) && type == REG_SZ;
    }

    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    test_support::ScopedKeyRemoval uninstallEntry_{HKEY_LOCAL_MACHINE, kUninstallEntry};
    test_support::ScopedValueRemoval runValue_{HKEY_CURRENT_USER, kRunKey, kRunValueName};
};

std::vector<BYTE> Bytes(const std::wstring& text) {
    const BYTE* begin = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(begin, begin + text.size() * sizeof(wchar_t));
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

struct ShowCase {
    const char* name;
    const wchar_t* appPath;  // null: missing
    const wchar_t* installLocation;
    const wchar_t* runValue;
    std::wstring command;
    bool checked;
};

class ShowRunAtStartupTest : public RunAtStartupTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowRunAtStartupTest, CommandAndCheckState) {
    const ShowCase& c = GetParam();
    Install(c.appPath, c.installLocation);
    SetRunValue(c.runValue);
    EXPECT_EQ(WallpaperCommand(), c.command);
    EXPECT_EQ(IsRunAtStartupSet(), c.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShowRunAtStartupTest,
    ::testing::Values(
        ShowCase{"AppPathWithoutTrailingBackslash", kFolder, nullptr, kCommand, kCommand, true},
        ShowCase{"AppPathWithTrailingBackslashGivesTwo", L"C:\\Games\\Marrowdale\\", nullptr,
                 L"\"C:\\Games\\Marrowdale\\\\Marrowdale 3D Screensaver.exe\" /w",
                 L"\"C:\\Games\\Marrowdale\\\\Marrowdale 3D Screensaver.exe\" /w", true},
        ShowCase{"DoubledBackslashCommandAgainstSingleEntry", L"C:\\Games\\Marrowdale\\", nullptr, kCommand,
                 L"\"C:\\Games\\Marrowdale\\\\Marrowdale 3D Screensaver.exe\" /w", false},
        ShowCase{"AppPathWinsOverInstallLocation", kFolder, kUninstallFolder, kCommand, kCommand, true},
        ShowCase{"AppPathMissingTakesInstallLocation", nullptr, kUninstallFolder, kUninstallCommand,
                 kUninstallCommand, true},
        ShowCase{"AppPathEmptyTakesInstallLocation", L"", kUninstallFolder, nullptr, kUninstallCommand, false},
        ShowCase{"NonAsciiFolder", L"C:\\Spiele\\M\x00E4rrowdale \x0436", nullptr,
                 L"\"C:\\Spiele\\M\x00E4rrowdale \x0436\\Marrowdale 3D Screensaver.exe\" /w",
                 L"\"C:\\Spiele\\M\x00E4rrowdale \x0436\\Marrowdale 3D Screensaver.exe\" /w", true},
        ShowCase{"RunValueInOtherLetterCase", kFolder, nullptr,
                 L"\"c:\\games\\marrowdale\\marrowdale 3d screensaver.exe\" /W", kCommand, false},
        ShowCase{"RunValueWithTrailingBlank", kFolder, nullptr,
                 L"\"C:\\Games\\Marrowdale\\Marrowdale 3D Screensaver.exe\" /w ", kCommand, false},
        ShowCase{"RunValueMissing", kFolder, nullptr, nullptr, kCommand, false},
        ShowCase{"RunValueEmpty", kFolder, nullptr, L"", kCommand, false},
        // Nothing could start the wallpaper, so the box never claims it would.
        ShowCase{"NoInstallerValuesAndRunMissing", nullptr, nullptr, nullptr, L"", false},
        ShowCase{"EmptyInstallerValuesAndRunEmpty", L"", L"", L"", L"", false},
        ShowCase{"NoInstallerValuesAndOldRunEntry", nullptr, nullptr, kCommand, L"", false}),
    CaseName<ShowCase>);

struct StoreCase {
    const char* name;
    const wchar_t* appPath;
    const wchar_t* runBefore;
    bool checked;
    std::wstring stored;
};

class StoreRunAtStartupTest : public RunAtStartupTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoreRunAtStartupTest, WritesCommandOrEmptyValueWithoutTerminator) {
    const StoreCase& c = GetParam();
    Install(c.appPath, nullptr);
    SetRunValue(c.runBefore);
    EXPECT_EQ(StoreRunAtStartup(c.checked), S_OK);
    std::vector<BYTE> data;
    ASSERT_TRUE(StoredRunValue(data));
    EXPECT_EQ(data, Bytes(c.stored));
    EXPECT_EQ(IsRunAtStartupSet(), !c.stored.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoreRunAtStartupTest,
    ::testing::Values(StoreCase{"CheckedWritesCommand", kFolder, nullptr, true, kCommand},
                      StoreCase{"CheckedReplacesOtherLetterCase", kFolder,
                                L"\"C:\\GAMES\\Marrowdale\\Marrowdale 3D Screensaver.exe\" /w", true, kCommand},
                      StoreCase{"UncheckedLeavesValueEmpty", kFolder, kCommand, false, L""},
                      StoreCase{"UncheckedCreatesEmptyValue", kFolder, nullptr, false, L""},
                      StoreCase{"CheckedWithoutInstallFolderWritesEmpty", nullptr, L"stale", true, L""}),
    CaseName<StoreCase>);

LSTATUS WINAPI FailingSetValue(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

TEST_F(RunAtStartupTest, StoreReportsAFailedWriteAndKeepsTheValue) {
    Install(kFolder, nullptr);
    SetRunValue(L"before");
    {
        registry_seam::Api api;
        api.setValue = &FailingSetValue;
        registry_seam::ScopedApi seam(api);
        EXPECT_EQ(StoreRunAtStartup(true), E_FAIL);
    }
    std::vector<BYTE> data;
    ASSERT_TRUE(StoredRunValue(data));
    EXPECT_EQ(data, Bytes(std::wstring(L"before", 7)));
}

using test_support::AccessRecorder;

TEST_F(RunAtStartupTest, ProductKeyAndRunValueUseThe64BitViewTheUninstallEntryItsOwn) {
    // AppPath missing, so all three values are read: AppPath, InstallLocation, Run.
    Install(nullptr, kUninstallFolder);
    registry_seam::Api api;
    api.openKey = &AccessRecorder::Open;
    api.createKey = &AccessRecorder::Create;
    api.is64BitWindows = true;
    registry_seam::ScopedApi seam(api);
    AccessRecorder::opened.clear();
    AccessRecorder::created.clear();

    IsRunAtStartupSet();
    EXPECT_EQ(AccessRecorder::opened, (std::vector<REGSAM>{KEY_READ | KEY_WOW64_64KEY, KEY_READ, KEY_READ | KEY_WOW64_64KEY}));
    AccessRecorder::opened.clear();
    StoreRunAtStartup(true);
    EXPECT_EQ(AccessRecorder::created, std::vector<REGSAM>{KEY_SET_VALUE | KEY_WOW64_64KEY});
}

}  // namespace
