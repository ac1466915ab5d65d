// Finding and driving the windows that a program under test shows.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

// Handles the messages of this thread for a while. A program that shows a
// window owned by one of the test's windows sends messages to the test's
// thread (enabling and disabling its owner) and waits until they are handled.
void PumpMessagesFor(DWORD milliseconds);

// Waits up to timeoutMs (handling this thread's messages meanwhile) for a
// visible top-level window of the class with the caption (both compared
// exactly), optionally of one process. Null on time-out.
HWND WaitForTopLevelWindow(const std::wstring& className, const std::wstring& caption, DWORD timeoutMs,
                           DWORD processId = 0);

// The message text of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);

// The window's own text.
std::wstring WindowText(HWND window);

}  // namespace test_support
