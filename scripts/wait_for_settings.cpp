// Waits until the screensaver's settings dialog is on the screen and shows
// the hardware's answers, for the run script's screenshot. The dialog's caption carries the product's name in
// every language. Exit code 0 when it appeared, 1 after the time limit.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cstdlib>

namespace {

BOOL CALLBACK FindSettings(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    wchar_t caption[512] = {};
    ::GetClassNameW(window, className, 16);
    ::GetWindowTextW(window, caption, 512);
    if (!::IsWindowVisible(window) || std::wcscmp(className, L"#32770") != 0 ||
        !std::wcsstr(caption, L"Marrowdale 3D Screensaver")) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The monitor list and the antialiasing list fill once the display probes
// have answered, after the dialog has shown; on hardware that offers
// neither, the wait ends after a while all the same.
void WaitForHardwareAnswers(HWND dialog) {
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (::GetTickCount64() < deadline) {
        DWORD_PTR monitors = 0, samples = 0;
        if (::SendMessageTimeoutW(::GetDlgItem(dialog, 1002), CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &monitors) &&
            ::SendMessageTimeoutW(::GetDlgItem(dialog, 1069), CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &samples) &&
            static_cast<LRESULT>(monitors) > 0 && static_cast<LRESULT>(samples) > 0) {
            return;
        }
        ::Sleep(50);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 60;
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 60) * 1000;
    while (::GetTickCount64() < deadline) {
        HWND dialog = nullptr;
        ::EnumWindows(&FindSettings, reinterpret_cast<LPARAM>(&dialog));
        if (dialog) {
            // Once the dialog's thread answers, its start-up is over; give
            // the first paint a moment to reach the screen.
            DWORD_PTR ignored = 0;
            ::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
            WaitForHardwareAnswers(dialog);
            ::Sleep(500);
            return 0;
        }
        ::Sleep(100);
    }
    std::fprintf(stderr, "The settings dialog did not appear within %d s.\n", seconds);
    return 1;
}
