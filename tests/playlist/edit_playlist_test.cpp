// The playlist dialog as the settings dialog opens it: owned by the settings
// dialog, its OK stored at once whatever the settings dialog does later, its
// Shuffle stored only with the settings.
#include "ui/settings_dlg.h"

#include "config/product.h"
#include "tests/playlist/dialog_watcher.h"
#include "tests/playlist/playlist_dlg_fixture.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using playlist_tests::CaseName;
using playlist_tests::operator<<;
using SettingsDialog = test_support::Driven<CSettingsDlg>;

// Removes the first row, ticks Shuffle and confirms, as a user would.
void RemoveFirstShuffleAndConfirm(HWND playlist) {
    HWND list = ::GetDlgItem(playlist, IDC_PLAYLIST_FILES);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    ::SendMessageW(::GetDlgItem(playlist, IDC_REMOVE_FILES), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(playlist, IDC_SHUFFLE), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(playlist, IDOK), BM_CLICK, 0, 0);
}

struct SettingsCloseCase {
    const char* name;
    int button;
    const wchar_t* storedShuffle;
};

class EditPlaylistTest : public playlist_tests::PlaylistDialogTest,
                         public ::testing::WithParamInterface<SettingsCloseCase> {};

TEST_P(EditPlaylistTest, PlaylistOKIsStoredAtOnceShuffleWithTheSettings) {
    StorePlaylist(music_.Expand(L"<d>a.mp3\n<d>b.mp3\n"));
    test_support::StoreTypedText(L"ShufflePlayList", L"2: 0");
    test_support::StoreTypedText(L"UsePlaylist", L"2: 1");
    HWND settingsWindow = nullptr;
    HWND playlistOwner = nullptr;
    bool playlistShown = false;
    SettingsDialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](SettingsDialog& d) {
        settingsWindow = d.m_hWnd;
        test_support::DialogWatcher watcher(
            [](HWND window) { return ::GetDlgItem(window, IDC_PLAYLIST_FILES) != nullptr; },
            [&](HWND playlist) {
                playlistOwner = ::GetWindow(playlist, GW_OWNER);
                RemoveFirstShuffleAndConfirm(playlist);
            });
        // Returns when the playlist dialog has ended.
        d.Click(IDC_EDIT_PLAYLIST);
        playlistShown = watcher.Stop();
        d.Click(GetParam().button);
    });
    ASSERT_TRUE(playlistShown);
    EXPECT_EQ(playlistOwner, settingsWindow);
    EXPECT_EQ(StoredPlaylist(), music_.Expand(L"<d>b.mp3\n"));
    const test_support::RawValues stored = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    EXPECT_EQ(test_support::UnterminatedText(stored.at(L"ShufflePlayList")), GetParam().storedShuffle);
}

INSTANTIATE_TEST_SUITE_P(Ways, EditPlaylistTest,
                         ::testing::Values(SettingsCloseCase{"SettingsCancelled", IDCANCEL, L"2: 0"},
                                           SettingsCloseCase{"SettingsConfirmed", IDOK, L"2: 1"}),
                         CaseName<SettingsCloseCase>);

}  // namespace
