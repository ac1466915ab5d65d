#include "playlist/playlist_dlg.h"

#include "config/settings_schema.h"
#include "framework/controls.h"
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "playlist/chosen_files.h"
#include "playlist/open_file_seam.h"
#include "playlist/playlist_text.h"
#include "ui/registry_error.h"

#include <commctrl.h>

#include <cstdint>
#include <utility>

namespace open_file_seam {

Api& Current() {
    static Api api;
    return api;
}

}  // namespace open_file_seam

namespace {

// The open-file dialog's name buffer holds this many characters; a selection
// that needs more makes the dialog fail (FNERR_BUFFERTOOSMALL).
constexpr DWORD kMaxChosenNames = 65535;
constexpr DWORD kMaxFileTitle = 261;

// The one column is as wide as this text (106 characters) and a margin, so
// that long paths show without a horizontal scroll. The header is hidden.
constexpr wchar_t kColumnText[] =
    L"FileName                                                                                                  ";
constexpr int kColumnMargin = 15;

// Pairs of display text and patterns, each ended by a NUL, and one more NUL
// at the end, as the open-file dialog reads them.
std::wstring FilterList() {
    const std::pair<std::wstring, const wchar_t*> entries[] = {
        {Translate(L"All supported files") + L" (*.m3u,*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid)",
         L"*.m3u;*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid"},
        {Translate(L"Playlist Files") + L" (*.m3u,*.pls)", L"*.m3u;*.pls"},
        {L"MP3 (*.mp3)", L"*.mp3"},
        {L"Windows Media Audio (*.wma)", L"*.wma"},
        {L"Advanced Audio Coding (*.aac)", L"*.aac"},
        {L"Ogg Vorbis (*.ogg)", L"*.ogg"},
        {L"FLAC (*.flac)", L"*.flac"},
        {L"Windows Audio File (*.wav)", L"*.wav"},
        {L"MIDI File (*.mid)", L"*.mid"},
    };
    std::wstring list;
    for (const auto& [text, pattern] : entries) {
        list += text;
        list.push_back(L'\0');
        list += pattern;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

}  // namespace

CPlaylistDlg::CPlaylistDlg(std::wstring productName, Node& settings)
    : settings_(settings), productName_(std::move(productName)) {}

void CPlaylistDlg::AddFile(const std::wstring& path) {
    if (!playlist_text::IsM3uFileName(path)) {
        Append(path);
        return;
    }
    Playlist named;
    named.AppendFromM3u(path);
    for (std::size_t i = 0; i < named.Count(); ++i) Append(named.Entry(i));
}

LRESULT CPlaylistDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    list_ = GetDlgItem(IDC_PLAYLIST_FILES);
    shuffle_ = GetDlgItem(IDC_SHUFFLE);
    InsertColumn();

    // Entries whose files have gone are dropped by the load, and so from the
    // value at the next OK.
    Playlist stored;
    stored.Load(Key().c_str());
    for (std::size_t i = 0; i < stored.Count(); ++i) Append(stored.Entry(i));

    // The settings dialog's text block holds this dialog's texts too.
    if (StringTable* table = StringTable::Current()) {
        table->SelectTextBlock(L"Screensaver Settings Dialog");
        table->TranslateWindow(m_hWnd);
    }

    const bool shuffled = settings_.Get(setting::kShufflePlayList).AsInt() != 0;
    framework::SetChecked(shuffle_, shuffled);
    saveRights_.Check(m_hWnd);
    return TRUE;
}

void CPlaylistDlg::InsertColumn() {
    const int textWidth =
        static_cast<int>(::SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(kColumnText)));
    LVCOLUMNW column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = textWidth + kColumnMargin;
    column.pszText = const_cast<wchar_t*>(kColumnText);
    column.iSubItem = 0;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void CPlaylistDlg::Append(std::wstring path) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(playlist_.Count());
    item.pszText = path.data();
    // A row the list refused would put every later row out of step with its
    // entry, and Remove would then take the wrong entry.
    if (::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)) < 0) return;
    playlist_.Add(std::move(path));
}

std::vector<std::wstring> CPlaylistDlg::ChooseFiles() const {
    const std::wstring filter = FilterList();
    std::wstring names(kMaxChosenNames, L'\0');
    std::wstring title(kMaxFileTitle, L'\0');
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = m_hWnd;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = names.data();
    request.nMaxFile = kMaxChosenNames;
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = kMaxFileTitle;
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT;
    request.lpstrDefExt = L"*.*";
    // On a failure the buffer holds no names: after FNERR_BUFFERTOOSMALL its
    // first characters are the size needed, or a selection cut short.
    if (!open_file_seam::Current().getOpenFileName(&request)) return {};
    // The names are read within the buffer only: a name that reaches its end
    // unterminated was cut short and is left out.
    return playlist_text::ChosenFiles(names, request.nFileOffset);
}

LRESULT CPlaylistDlg::OnAddFiles(WORD, WORD, HWND, BOOL&) {
    for (const std::wstring& path : ChooseFiles()) AddFile(path);
    return 0;
}

LRESULT CPlaylistDlg::OnRemove(WORD, WORD, HWND, BOOL&) {
    if (::SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0) == 0) return 0;
    int row = 0;
    while (row < static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0))) {
        const UINT state = static_cast<UINT>(::SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_SELECTED));
        // A deleted row moves the next one to this index; a row the list
        // would not delete stays, and so does its entry.
        if ((state & LVIS_SELECTED) && ::SendMessageW(list_, LVM_DELETEITEM, row, 0)) {
            playlist_.RemoveAt(static_cast<std::size_t>(row));
        } else {
            ++row;
        }
    }
    return 0;
}

LRESULT CPlaylistDlg::OnShuffle(WORD, WORD, HWND, BOOL&) {
    const bool ticked = framework::IsChecked(shuffle_);
    settings_.Get(setting::kShufflePlayList) = std::int32_t{ticked ? 1 : 0};
    return 0;
}

LRESULT CPlaylistDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    if (busy_.Held()) return 0;
    // Where this user may not write the key, one consent first.
    if (saveRights_.AskFirst(m_hWnd, kAccessAnswered)) {
        busy_.Hold(m_hWnd, {IDOK, IDCANCEL, IDC_ADD_FILES, IDC_REMOVE_FILES});
        return 0;
    }
    // Closing would lose the user's list: the dialog stays for another OK
    // or a Cancel.
    if (FAILED(playlist_.Save(Key().c_str()))) {
        ShowRegistryWriteError(m_hWnd);
        saveRights_.SaveFailed();
        return 0;
    }
    EndDialog(0);
    return 0;
}

LRESULT CPlaylistDlg::OnAccessAnswered(UINT, WPARAM status, LPARAM, BOOL&) {
    if (!saveRights_.Asking()) return 0;
    busy_.Release(m_hWnd);
    if (!saveRights_.Answered(m_hWnd, status)) {
        ShowRegistryWriteError(m_hWnd);
        return 0;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(IDOK)));
    return 0;
}

LRESULT CPlaylistDlg::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!busy_.SetWaitCursor()) handled = FALSE;
    return TRUE;
}

LRESULT CPlaylistDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    if (busy_.Held()) return 0;
    EndDialog(0);
    return 0;
}

LRESULT CPlaylistDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    if (busy_.Held()) return 0;
    EndDialog(0);
    return 0;
}
