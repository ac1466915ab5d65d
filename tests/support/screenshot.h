// Pictures of windows: for people to look at, saved under the build folder,
// and the pixels of a window of this process for tests that check them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

// 32-bit BGRX pixels, rows from the top; empty (0 x 0) when not captured.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<BYTE> bgrx;
    const BYTE* At(int x, int y) const { return &bgrx[(static_cast<size_t>(y) * width + x) * 4]; }
};

// What a window of this process shows on the screen once it has painted,
// frame and children included (a borderless child: just its client area).
Pixels CaptureWindow(HWND window);

// Copies the window, frame included, into a PNG file (its pixels, then the
// system's PNG encoder). False when any step fails.
bool SaveWindowPicture(HWND window, const std::wstring& pngPath);

// A file under the build folder's screenshots folder, which is made when missing.
std::wstring ScreenshotPath(const std::wstring& name);

}  // namespace test_support
