// What the playlist dialog's tests share: the dialog run in this process on
// an emptied product key with a folder of music files, the stored playlist,
// and the string table of a chosen language.
#pragma once

#include "config/node.h"
#include "playlist/playlist_dlg.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"

#include <functional>
#include <string>
#include <vector>

namespace playlist_tests {

using PlaylistDialog = test_support::Driven<CPlaylistDlg>;

class PlaylistDialogTest : public test_support::ProductKeyTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a new dialog on settings_ until the script ends it.
    void Run(const std::function<void(PlaylistDialog&)>& script);
    // The rows the dialog showed when it opened (a run that only looks).
    std::vector<std::wstring> RowsAtOpening();

    // The "PlayList" value, "<missing>" when there is none.
    std::wstring StoredPlaylist() const;
    void StorePlaylist(const std::wstring& text) const;
    // Makes a string table current in the language, with the other text block
    // selected, as the settings dialog's would be after other lookups.
    void UseLanguage(const std::wstring& tag) const;

    Node settings_;
    MusicFolder music_;
};

std::vector<std::wstring> Rows(const PlaylistDialog& dialog);
void SelectRows(const PlaylistDialog& dialog, const std::vector<int>& rows);

}  // namespace playlist_tests
