#include "tests/support/screensaver_process.h"

#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <gtest/gtest.h>

namespace test_support {

std::wstring ScreensaverPath() { return TestBuildFile(L"Marrowdale 3D Screensaver.scr"); }

framework::UniqueHandle StartScreensaver(const std::wstring& arguments, const std::wstring& currentDirectory,
                                         DWORD* processId, HANDLE token, HANDLE job) {
    std::wstring commandLine = L"\"" + ScreensaverPath() + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const wchar_t* folder = currentDirectory.empty() ? nullptr : currentDirectory.c_str();
    // In a job from its first instruction: whatever it starts is in it too.
    const DWORD flags = job ? CREATE_SUSPENDED : 0;
    const BOOL made = token ? ::CreateProcessAsUserW(token, nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags,
                                                     nullptr, folder, &startup, &process)
                            : ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                                               folder, &startup, &process);
    if (!made) {
        ADD_FAILURE() << "cannot start the screensaver, error " << ::GetLastError();
        return framework::UniqueHandle();
    }
    if (job) {
        if (!::AssignProcessToJobObject(job, process.hProcess)) {
            ADD_FAILURE() << "cannot put the screensaver in a job, error " << ::GetLastError();
        }
        ::ResumeThread(process.hThread);
    }
    ::CloseHandle(process.hThread);
    if (processId) *processId = process.dwProcessId;
    return framework::UniqueHandle(process.hProcess);
}

long ExitCodeAfter(const framework::UniqueHandle& process, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
        if (::GetTickCount64() >= deadline) {
            ::TerminateProcess(process.Get(), 99);
            return -1;
        }
        PumpMessagesFor(20);
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

}  // namespace test_support
