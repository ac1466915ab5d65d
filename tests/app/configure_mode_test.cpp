// The configuration mode as the system starts it: the program in its own
// process shows the settings dialog, owned by the window the command line
// names, and its first OK creates the product key.
#include "config/product.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const wchar_t kCaption[] = L"Marrowdale 3D Screensaver 1.0 Configuration";

struct ConfigureCase {
    const char* name;
    const wchar_t* switchText;  // the owner's number follows when ownedByTest
    bool ownedByTest;
};

class ConfigureModeTest : public ::testing::TestWithParam<ConfigureCase> {
protected:
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
};

TEST_P(ConfigureModeTest, ShowsTheDialogAndTheFirstOKCreatesTheKey) {
    const ConfigureCase& c = GetParam();
    HWND owner = nullptr;
    std::wstring arguments = c.switchText;
    if (c.ownedByTest) {
        owner = ::CreateWindowExW(0, L"STATIC", L"Screen Saver Settings", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        arguments += std::to_wstring(reinterpret_cast<UINT_PTR>(owner));
    }
    DWORD processId = 0;
    framework::UniqueHandle process = test_support::StartScreensaver(arguments, L"", &processId);
    ASSERT_TRUE(process);
    HWND dialog = test_support::WaitForTopLevelWindow(L"#32770", kCaption, 60000, processId);
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), owner);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(test_support::ExitCodeAfter(process, 20000), 0);

    std::wstring stored;
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
    wchar_t data[64] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    EXPECT_EQ(::RegQueryValueExW(key, L"SoundsVolumePercentage", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    EXPECT_STREQ(data, L"2: 100");
    if (owner) ::DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Switches, ConfigureModeTest,
                         ::testing::Values(ConfigureCase{"OwnerAfterColon", L"/c:", true},
                                           ConfigureCase{"OwnerAfterBlank", L"-C ", true},
                                           ConfigureCase{"NoOwner", L"/c", false},
                                           ConfigureCase{"NoSwitch", L"", false}),
                         [](const ::testing::TestParamInfo<ConfigureCase>& info) { return std::string(info.param.name); });

}  // namespace
