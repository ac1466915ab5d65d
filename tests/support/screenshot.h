// Pictures of windows for people to look at: the tests save them under the
// build folder; nothing compares their pixels.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

// Copies the window, frame included, into a PNG file (its pixels, then the
// system's PNG encoder). False when any step fails.
bool SaveWindowPicture(HWND window, const std::wstring& pngPath);

// A file under the build folder's screenshots folder, which is made when missing.
std::wstring ScreenshotPath(const std::wstring& name);

}  // namespace test_support
