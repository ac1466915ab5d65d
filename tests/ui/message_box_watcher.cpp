#include "tests/ui/message_box_watcher.h"

#include "tests/support/windows_finder.h"

namespace test_support {

namespace {

struct Found {
    HWND box = nullptr;
};

// A message box is a #32770 window with the static text 0xFFFF.
BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !::GetDlgItem(window, 0xFFFF)) return TRUE;
    reinterpret_cast<Found*>(context)->box = window;
    return FALSE;
}

// The icon the box shows: its static control of the icon kind.
BOOL CALLBACK FindIcon(HWND child, LPARAM context) {
    if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
    *reinterpret_cast<HICON*>(context) = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    return FALSE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher() : thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() { Stop(); }

SeenMessageBox MessageBoxWatcher::Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return seen_;
}

void MessageBoxWatcher::Watch() {
    while (!stop_) {
        Found found;
        ::EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&found));
        if (found.box && !seen_.shown) {
            seen_.shown = true;
            seen_.caption = WindowText(found.box);
            seen_.text = MessageBoxText(found.box);
            seen_.owner = ::GetWindow(found.box, GW_OWNER);
            // The box shows the system's shared error icon.
            HICON icon = nullptr;
            ::EnumChildWindows(found.box, &FindIcon, reinterpret_cast<LPARAM>(&icon));
            seen_.errorIcon = icon != nullptr && icon == ::LoadIconW(nullptr, IDI_HAND);
            ::PostMessageW(found.box, WM_COMMAND, IDOK, 0);
        }
        ::Sleep(20);
    }
}

}  // namespace test_support
