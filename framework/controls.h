// The few messages the dialogs send to their check boxes and combo boxes, one
// line each. A null handle (a control its template lacks) does nothing and
// reads as unchecked, empty or unselected.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace framework {

inline bool IsChecked(HWND box) { return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
inline std::int32_t CheckState(HWND box) { return IsChecked(box) ? 1 : 0; }
inline void SetChecked(HWND box, bool checked) {
    ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
inline void Enable(HWND control, bool enabled) { ::EnableWindow(control, enabled ? TRUE : FALSE); }

// Adds an entry with its item data; its index, or CB_ERR.
inline LRESULT AddComboItem(HWND combo, const std::wstring& text, LPARAM data) {
    const LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0) ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return index;
}

// The item data of the selected entry; CB_ERR when nothing is selected.
inline LRESULT SelectedItemData(HWND combo) {
    const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return CB_ERR;
    return ::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
}

}  // namespace framework
