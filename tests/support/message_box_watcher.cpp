#include "tests/support/message_box_watcher.h"

#include "tests/support/windows_finder.h"

namespace test_support {

namespace {

// The icon the box shows: its static control of the icon kind.
BOOL CALLBACK FindIcon(HWND child, LPARAM context) {
    if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(context) = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    return FALSE;
}

}  // namespace

// A message box is a dialog with the static text 0xFFFF.
MessageBoxWatcher::MessageBoxWatcher()
    : watcher_([](HWND dialog) { return ::GetDlgItem(dialog, 0xFFFF) != nullptr; }, [this](HWND box) { Note(box); }) {}

SeenMessageBox MessageBoxWatcher::Stop() {
    watcher_.Stop();
    return seen_;
}

void MessageBoxWatcher::Note(HWND box) {
    seen_.shown = true;
    seen_.caption = WindowText(box);
    seen_.text = MessageBoxText(box);
    seen_.owner = ::GetWindow(box, GW_OWNER);
    // The box shows the system's shared error icon.
    HICON icon = nullptr;
    ::EnumChildWindows(box, &FindIcon, reinterpret_cast<LPARAM>(&icon));
    seen_.errorIcon = icon != nullptr && icon == ::LoadIconW(nullptr, IDI_HAND);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

}  // namespace test_support
