// The settings dialog of the real program (the test build's .scr started with
// /c), driven from this process as a user would drive it: clicks posted to its
// boxes and keys to its slider, then OK or Cancel, and the registry read back.
#include "framework/handles.h"
#include "res/settings_dialog_ids.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/stub_wallpaper.h"
#include "tests/support/windows_finder.h"
#include "tests/support/product_key.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::StoredTypedText;
using test_support::StoreTypedText;
using Posts = std::vector<test_support::WallpaperPost>;

class ConfigureProcessTest : public test_support::OptionsTest {
protected:
    // Starts "<scr> /c" and waits until its dialog is filled (the caption is
    // set after the controls); false on failure.
    bool Open() {
        DWORD processId = 0;
        process_ = test_support::StartScreensaver(L"/c", L"", &processId);
        if (!process_) return false;
        dialog_ = test_support::WaitForTopLevelWindow(L"#32770", L"Marrowdale 3D Screensaver 1.0 Configuration", 60000,
                                                      processId);
        return dialog_ != nullptr;
    }

    HWND Item(int id) const { return ::GetDlgItem(dialog_, id); }
    // Posted, as input arrives: the dialog's own thread handles it in order.
    void Click(int id) const { ::PostMessageW(Item(id), BM_CLICK, 0, 0); }
    void Key(int id, UINT key) const {
        ::PostMessageW(Item(id), WM_KEYDOWN, key, 1);
        ::PostMessageW(Item(id), WM_KEYUP, key, 0xC0000001);
    }

    // The changes a user makes: the music slider three steps right, then
    // music off, and Exit on mouse move switched. The blank-screen box cannot
    // be ticked: with Wine's single monitor it is disabled.
    void MakeChanges() const {
        for (int i = 0; i < 3; ++i) Key(IDC_MUSIC_VOLUME, VK_RIGHT);
        Click(IDC_ENABLE_MUSIC);
        Click(IDC_EXIT_ON_MOUSE_MOVE);
    }

    long Ended() const { return test_support::ExitCodeAfter(process_, 30000); }

    framework::UniqueHandle process_;
    HWND dialog_ = nullptr;
};

TEST_F(ConfigureProcessTest, OKStoresWhatTheUserChanged) {
    StoreTypedText(L"Language", L"3: en");
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableOnMouseActivate", L"2: 1");
    test_support::StubWallpaper wallpaper;
    ASSERT_TRUE(wallpaper.Window());
    ASSERT_TRUE(Open());
    EXPECT_FALSE(::IsWindowEnabled(Item(IDC_BLANK_SCREENS)));
    MakeChanges();
    Click(IDOK);
    EXPECT_EQ(Ended(), 0);
    wallpaper.Close();
    EXPECT_EQ(StoredTypedText(L"DisableMusic"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"MusicVolumePercentage"), L"2: 43");
    EXPECT_EQ(StoredTypedText(L"DisableOnMouseActivate"), L"2: 0");
    EXPECT_EQ(wallpaper.Received(), (Posts{{1, 41}, {1, 41}, {1, 42}, {1, 42}, {1, 43}, {1, 43}, {2, 0}}));
}

TEST_F(ConfigureProcessTest, CancelLeavesTheRegistryAsItWas) {
    StoreTypedText(L"Language", L"3: en");
    StoreTypedText(L"MusicVolumePercentage", L"2: 40");
    StoreTypedText(L"DisableOnMouseActivate", L"2: 1");
    const test_support::RawValues before = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    ASSERT_TRUE(Open());
    MakeChanges();
    Click(IDCANCEL);
    EXPECT_EQ(Ended(), 0);
    EXPECT_EQ(test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey), before);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    EXPECT_FALSE(test_support::GetRegistryRaw(HKEY_CURRENT_USER, kRunKey, kRunValueName, type, data));
}

}  // namespace
