#include "tests/playlist/dialog_watcher.h"

#include <commctrl.h>

#include <vector>

namespace playlist_tests {

namespace {

// The file-name box: an edit in Wine's dialog, a combo box in Windows'.
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileTypeCombo = 0x470;  // cmb1
constexpr DWORD kPatienceMs = 10000;

HWND FileNameBox(HWND dialog) {
    HWND edit = ::GetDlgItem(dialog, kFileNameEdit);
    return edit ? edit : ::GetDlgItem(dialog, kFileNameCombo);
}

// Waits for the window to go; false when it is still there after the time.
bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::IsWindow(window)) {
        if (::GetTickCount64() > deadline) return false;
        ::Sleep(20);
    }
    return true;
}

}  // namespace

FileDialogWatcher::FileDialogWatcher(std::wstring names)
    : names_(std::move(names)),
      watcher_([](HWND dialog) { return FileNameBox(dialog) != nullptr; }, [this](HWND dialog) { Act(dialog); }) {}

void FileDialogWatcher::Act(HWND dialog) {
    seen_.owner = ::GetWindow(dialog, GW_OWNER);
    HWND types = ::GetDlgItem(dialog, kFileTypeCombo);
    const LRESULT length = ::SendMessageW(types, CB_GETLBTEXTLEN, 0, 0);
    if (length > 0) {
        std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
        ::SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
        seen_.firstFilter = text.data();
    }
    if (names_.empty()) {
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        ::SetWindowTextW(FileNameBox(dialog), names_.c_str());
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    if (!WaitUntilGone(dialog, kPatienceMs)) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

std::vector<std::wstring> ListRows(HWND list) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::vector<wchar_t> text(32768, L'\0');
        LVITEMW item = {};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text.data());
    }
    return rows;
}

std::vector<int> SelectedRows(HWND list) {
    std::vector<int> rows;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        if (::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) rows.push_back(row);
    }
    return rows;
}

}  // namespace playlist_tests
