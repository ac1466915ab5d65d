#include "tests/playlist/playlist_dlg_fixture.h"

#include "config/product.h"
#include "config/registry.h"
#include "i18n/string_table.h"
#include "res/resource_ids.h"
#include "tests/playlist/dialog_watcher.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>

namespace playlist_tests {

void PlaylistDialogTest::SetUp() {
    // As the configuration mode runs it; the open-file dialog needs COM.
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
}

void PlaylistDialogTest::TearDown() {
    StringTable::DestroyCurrent();
    ::CoUninitialize();
}

void PlaylistDialogTest::Run(const std::function<void(PlaylistDialog&)>& script) {
    PlaylistDialog dialog(product::kName, settings_);
    test_support::RunDriven<CPlaylistDlg>(dialog, script);
}

std::vector<std::wstring> PlaylistDialogTest::RowsAtOpening() {
    std::vector<std::wstring> rows;
    Run([&](PlaylistDialog& d) {
        rows = Rows(d);
        d.Click(IDCANCEL);
    });
    return rows;
}

std::wstring PlaylistDialogTest::StoredPlaylist() const {
    const test_support::RawValues values = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    const auto found = values.find(L"PlayList");
    if (found == values.end()) return L"<missing>";
    if (found->second.type != REG_SZ) return L"<not REG_SZ>";
    const std::vector<BYTE>& data = found->second.data;
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    std::copy_n(data.begin(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    // Whether a terminator is stored is the registry layer's business.
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return text;
}

void PlaylistDialogTest::StorePlaylist(const std::wstring& text) const {
    ASSERT_EQ(WriteRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"PlayList", text, true), S_OK);
}

void PlaylistDialogTest::UseLanguage(const std::wstring& tag) const {
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(table.SelectLanguage(tag));
    ASSERT_TRUE(table.SelectTextBlock(L"Screensaver"));
}

std::vector<std::wstring> Rows(const PlaylistDialog& dialog) { return ListRows(dialog.GetDlgItem(IDC_PLAYLIST_FILES)); }

void SelectRows(const PlaylistDialog& dialog, const std::vector<int>& rows) {
    HWND list = dialog.GetDlgItem(IDC_PLAYLIST_FILES);
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows) ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace playlist_tests
