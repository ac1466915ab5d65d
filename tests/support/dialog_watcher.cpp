#include "tests/support/dialog_watcher.h"

#include <string>

namespace test_support {

namespace {

struct Search {
    const std::function<bool(HWND)>* match;
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    if (std::wstring(className) != L"#32770" || !(*search->match)(window)) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

DialogWatcher::DialogWatcher(std::function<bool(HWND)> match, std::function<void(HWND)> act)
    : match_(std::move(match)), act_(std::move(act)), thread_([this] { Watch(); }) {}

DialogWatcher::~DialogWatcher() { Stop(); }

bool DialogWatcher::Stop() {
    stop_ = true;
    thread_.Join();
    return acted_;
}

void DialogWatcher::Watch() {
    while (!stop_ && !acted_) {
        Search search{&match_};
        ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            act_(search.found);
            acted_ = true;
        }
        ::Sleep(20);
    }
}

}  // namespace test_support
