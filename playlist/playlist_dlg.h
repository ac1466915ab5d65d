// The dialog in which the user edits the music playlist: the list of chosen
// files, Add (files and M3U playlists through the open-file dialog), Remove
// and the Shuffle box. OK stores the playlist at once; Shuffle goes into the
// settings tree of the settings dialog, which stores it with the others.
#pragma once

#include "config/node.h"
#include "framework/dialog_impl.h"
#include "playlist/playlist.h"
#include "res/playlist_dialog_ids.h"
#include "ui/access_request.h"
#include "ui/busy_buttons.h"

#include <cstddef>
#include <string>
#include <vector>

class CPlaylistDlg : public framework::CDialogImpl<CPlaylistDlg> {
public:
    enum { IDD = IDD_PLAYLIST };

    // productName completes the maker's registry key where the playlist is
    // stored; settings is the settings dialog's tree, which must outlive the
    // dialog.
    CPlaylistDlg(std::wstring productName, Node& settings);

    BEGIN_MSG_MAP(CPlaylistDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_HANDLER(IDC_ADD_FILES, BN_CLICKED, OnAddFiles)
        COMMAND_HANDLER(IDC_REMOVE_FILES, BN_CLICKED, OnRemove)
        COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        COMMAND_HANDLER(IDC_SHUFFLE, BN_CLICKED, OnShuffle)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(kAccessAnswered, OnAccessAnswered)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    END_MSG_MAP()

    // Adds one chosen file: the files an M3U playlist names, or the path
    // itself as one entry.
    void AddFile(const std::wstring& path);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAddFiles(WORD, WORD, HWND, BOOL&);
    LRESULT OnRemove(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnShuffle(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAccessAnswered(UINT, WPARAM status, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);

    void InsertColumn();
    // The files the user chose in the open-file dialog; none when it was
    // cancelled or failed.
    std::vector<std::wstring> ChooseFiles() const;
    // Appends a row and the entry together, so that row i is always entry i.
    void Append(std::wstring path);
    std::wstring Key() const { return product::kMakerKey + productName_; }

    Node& settings_;
    std::wstring productName_;
    HWND list_ = nullptr;
    HWND shuffle_ = nullptr;
    Playlist playlist_;
    // Whether this user may save the playlist, and the buttons held while a
    // consent is answered.
    static constexpr UINT kAccessAnswered = WM_APP + 1;
    SaveRights saveRights_;
    BusyButtons busy_;
};
