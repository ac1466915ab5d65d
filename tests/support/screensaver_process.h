// The screensaver program of the test build started as the system starts it.
#pragma once

#include "framework/handles.h"

#include <windows.h>

#include <string>

namespace test_support {

std::wstring ScreensaverPath();

// Starts the program with the arguments (after its quoted path); a failed
// start is a test failure and gives an empty handle. With a token, the
// program runs with it; with a job, it starts inside it.
framework::UniqueHandle StartScreensaver(const std::wstring& arguments, const std::wstring& currentDirectory = L"",
                                         DWORD* processId = nullptr, HANDLE token = nullptr, HANDLE job = nullptr);

// Waits for the process to end and gives its exit code; on time-out the
// process is ended and the result is -1.
long ExitCodeAfter(const framework::UniqueHandle& process, DWORD timeoutMs);

}  // namespace test_support
