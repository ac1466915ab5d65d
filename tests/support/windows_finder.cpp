#include "tests/support/windows_finder.h"

#include <vector>

namespace test_support {

namespace {

struct Search {
    const std::wstring* className;
    const std::wstring* caption;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (!::IsWindowVisible(window)) return TRUE;
    if (search->processId != 0) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId) return TRUE;
    }
    wchar_t className[256] = {};
    ::GetClassNameW(window, className, 256);
    if (*search->className != className) return TRUE;
    if (WindowText(window) != *search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

void PumpMessagesFor(DWORD milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

HWND WaitForTopLevelWindow(const std::wstring& className, const std::wstring& caption, DWORD timeoutMs,
                           DWORD processId) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    do {
        Search search{&className, &caption, processId, nullptr};
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        PumpMessagesFor(50);
    } while (::GetTickCount64() < deadline);
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[4096] = {};
    ::GetDlgItemTextW(box, 0xFFFF, text, 4096);
    return text;
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 2, L'\0');
    ::GetWindowTextW(window, text.data(), length + 1);
    return text.data();
}

}  // namespace test_support
