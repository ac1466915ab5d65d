// The screensaver program started as the system starts it: a real process
// under Wine, with the stub renderer in place of the real one.
#include "app/run_modes.h"

#include "config/product.h"
#include "framework/handles.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using framework::UniqueHandle;
using test_support::ExitCodeAfter;
using test_support::StartScreensaver;
using test_support::TempFolder;

const std::wstring kRendererName = L"Marrowdale 3D Screensaver.exe";
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class RunModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        exitEvent_.Reset(::CreateEventW(nullptr, TRUE, FALSE, L"MarrowdaleStubRendererExit"));
        ASSERT_TRUE(exitEvent_);
        ::ResetEvent(exitEvent_.Get());
    }
    void TearDown() override { ::SetEvent(exitEvent_.Get()); }

    void PlaceStubRenderer(const std::wstring& folder) {
        ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"tests\\app\\stub_renderer.exe"),
                                             folder + L"\\" + kRendererName));
    }

    // The stub's record: its command line and its working directory.
    bool WaitForRecord(const std::wstring& folder, std::wstring& commandLine, std::wstring& directory) {
        const std::wstring path = folder + L"\\stub-record.txt";
        for (int i = 0; i < 300; ++i) {
            const std::string bytes = test_support::ReadBinaryFile(path);
            if (!bytes.empty()) {
                std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
                const size_t first = text.find(L'\n');
                commandLine = text.substr(0, first);
                directory = text.substr(first + 1, text.find(L'\n', first + 1) - first - 1);
                return true;
            }
            ::Sleep(50);
        }
        return false;
    }

    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    test_support::ScopedKeyRemoval ownEntry_{HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1"};
    test_support::ScopedKeyRemoval combinedEntry_{HKEY_LOCAL_MACHINE,
                                                  kUninstall + L"Marrowdale 3D Screensaver and Animated Wallpaper_is1"};
    UniqueHandle exitEvent_;
    TempFolder empty_;
};

TEST_F(RunModeTest, ModesWithoutAWindowToShowEndWithZero) {
    // The password provider is a silent stub under Wine; a preview for
    // window 0 has no parent to fill.
    for (const char* arguments : {"/t", "-T 5", "/a 1234", "/p 0", "/p"}) {
        UniqueHandle process = StartScreensaver(std::wstring(arguments, arguments + strlen(arguments)), empty_.Path());
        EXPECT_EQ(ExitCodeAfter(process, 20000), 0) << arguments;
    }
}

TEST_F(RunModeTest, RunStartsRendererFromAppPathAndWaitsForIt) {
    TempFolder install;
    PlaceStubRenderer(install.Path());
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install.Path());

    UniqueHandle screensaver = StartScreensaver(L"/s", empty_.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(install.Path(), commandLine, directory));
    EXPECT_EQ(commandLine, L"\"" + install.Path() + L"\\" + kRendererName + L"\"");
    EXPECT_EQ(directory, install.Path());

    // The screensaver lives for as long as the renderer does.
    EXPECT_EQ(::WaitForSingleObject(screensaver.Get(), 500), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

TEST_F(RunModeTest, RendererInCurrentFolderRunsThere) {
    TempFolder current;
    PlaceStubRenderer(current.Path());

    UniqueHandle screensaver = StartScreensaver(L"/S", current.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(current.Path(), commandLine, directory));
    EXPECT_EQ(commandLine, L"\"" + current.Path() + L"\\" + kRendererName + L"\"");
    EXPECT_EQ(directory, current.Path());
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

TEST_F(RunModeTest, UninstallEntryGivesWorkingDirectoryWhenAppPathIsMissing) {
    TempFolder install;
    PlaceStubRenderer(install.Path());
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1",
                                    L"InstallLocation", install.Path());

    UniqueHandle screensaver = StartScreensaver(L"-s", empty_.Path());
    std::wstring commandLine, directory;
    ASSERT_TRUE(WaitForRecord(install.Path(), commandLine, directory));
    EXPECT_EQ(directory, install.Path());
    ::SetEvent(exitEvent_.Get());
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
}

struct FailureCase {
    const char* name;
    bool placeUnstartableFile;
    const wchar_t* text;
};

class RunFailureTest : public RunModeTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RunFailureTest, ShowsErrorBoxAndStartsNothing) {
    TempFolder install;
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install.Path());
    if (GetParam().placeUnstartableFile) {
        ASSERT_TRUE(test_support::WriteBinaryFile(install.Path() + L"\\" + kRendererName, "not a program"));
    }

    DWORD processId = 0;
    UniqueHandle screensaver = StartScreensaver(L"/s", empty_.Path(), &processId);
    HWND box = test_support::WaitForTopLevelWindow(L"#32770", L"Error!", 20000, processId);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(test_support::MessageBoxText(box), GetParam().text);
    // The box holds the screensaver until the user answers it.
    EXPECT_EQ(::WaitForSingleObject(screensaver.Get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(ExitCodeAfter(screensaver, 20000), 0);
    EXPECT_TRUE(test_support::ReadBinaryFile(install.Path() + L"\\stub-record.txt").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RunFailureTest,
    ::testing::Values(FailureCase{"NoRenderer", false, L"Can't find the main file! Please reinstall screensaver."},
                      FailureCase{"UnstartableRenderer", true,
                                  L"Can't start the screensaver! Please try to restart your computer."}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST(RequestPasswordChangeTest, MissingLibraryOrExportIsIgnored) {
    EXPECT_FALSE(RequestPasswordChange(L"no-such-provider.dll"));
    // kernel32 is a system library without the export.
    EXPECT_FALSE(RequestPasswordChange(L"kernel32.dll"));
}

}  // namespace
