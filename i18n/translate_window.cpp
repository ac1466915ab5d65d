// Translating the texts of a dialog and of its controls after creation.
#include "i18n/string_table.h"

#include <windows.h>

namespace {

// Window texts are read into a fixed buffer: longer ones are looked up by
// their first kMaxText characters.
constexpr int kMaxText = 1023;

}  // namespace

void StringTable::TranslateWindow(HWND window) const {
    // Without a window, GetTopWindow would hand out the desktop's top-level
    // windows, and those of other programs would be renamed.
    if (!window || !::IsWindow(window)) return;
    TranslateWindowText(window);
    // Direct children only: the items and inner windows of a control are its own business.
    for (HWND child = ::GetTopWindow(window); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        TranslateWindowText(child);
    }
}

void StringTable::TranslateWindowText(HWND window) const {
    wchar_t buffer[kMaxText + 1] = {};
    // The count includes the terminating NUL.
    const int length = ::GetWindowTextW(window, buffer, kMaxText + 1);
    const std::wstring text(buffer, length > 0 && length <= kMaxText ? static_cast<size_t>(length) : 0);
    std::wstring translated;
    if (Lookup(text, translated)) ::SetWindowTextW(window, translated.c_str());
}
