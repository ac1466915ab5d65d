#include "ui/busy_buttons.h"

void BusyButtons::Hold(HWND dialog, std::initializer_list<int> ids) {
    if (held_) return;
    held_ = true;
    const HWND focus = ::GetFocus();
    for (int id : ids) {
        const HWND button = ::GetDlgItem(dialog, id);
        if (!button || !::IsWindowEnabled(button)) continue;
        // A disabled window keeps no focus: it goes back once the wait is over.
        if (button == focus) focus_ = focus;
        buttons_.push_back(button);
        ::EnableWindow(button, FALSE);
    }
    SetWaitCursor();
}

void BusyButtons::Release(HWND dialog) {
    if (!held_) return;
    held_ = false;
    for (HWND button : buttons_) ::EnableWindow(button, TRUE);
    buttons_.clear();
    if (focus_) ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus_), TRUE);
    focus_ = nullptr;
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
}

bool BusyButtons::SetWaitCursor() const {
    if (!held_) return false;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    return true;
}
