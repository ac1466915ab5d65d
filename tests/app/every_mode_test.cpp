// The shipped program started in every mode and with odd command lines ends
// with exit code 0 and no exception. Whatever it shows (the settings, an error
// box, the preview inside a window of the test) is closed as a user or the
// system would close it. The control: a program that crashes is caught.
#include "config/product.h"
#include "framework/handles.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using framework::UniqueHandle;

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr DWORD kLimitMs = 30000;

// Closes the process's top-level windows: a message box with OK, anything
// else with WM_CLOSE.
BOOL CALLBACK CloseWindowOf(HWND window, LPARAM processId) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != static_cast<DWORD>(processId) || !::IsWindowVisible(window)) return TRUE;
    wchar_t className[32] = {};
    ::GetClassNameW(window, className, 32);
    const bool box = std::wstring(className) == L"#32770" && ::GetDlgItem(window, 0xFFFF);
    ::PostMessageW(window, box ? WM_COMMAND : WM_CLOSE, box ? IDOK : 0, 0);
    return TRUE;
}

// The exit code of the program, its windows closed as they come; -1 when
// it did not end in time.
long ExitCodeClosingWindows(const UniqueHandle& process, DWORD processId, HWND parentToDestroy) {
    const ULONGLONG deadline = ::GetTickCount64() + kLimitMs;
    const ULONGLONG parentGoesAt = ::GetTickCount64() + 1500;
    while (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
        if (::GetTickCount64() >= deadline) {
            ::TerminateProcess(process.Get(), 99);
            return -1;
        }
        if (parentToDestroy && ::GetTickCount64() >= parentGoesAt) {
            ::DestroyWindow(parentToDestroy);
            parentToDestroy = nullptr;
        }
        ::EnumWindows(&CloseWindowOf, static_cast<LPARAM>(processId));
        test_support::PumpMessagesFor(100);
    }
    if (parentToDestroy) ::DestroyWindow(parentToDestroy);
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    return static_cast<long>(code);
}

struct ModeCase {
    const char* name;
    const wchar_t* arguments;  // "{hwnd}" stands for a window of the test
    bool renderer;             // a renderer in the installation folder
};

class EveryModeTest : public ::testing::TestWithParam<ModeCase> {
protected:
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    test_support::ScopedKeyRemoval ownEntry_{HKEY_LOCAL_MACHINE, kUninstall + L"Marrowdale 3D Screensaver_is1"};
    test_support::TempFolder install_;
    test_support::TempFolder empty_;
};

TEST_P(EveryModeTest, EndsWithZeroAndNoException) {
    const ModeCase& c = GetParam();
    if (c.renderer) {
        // A renderer that ends at once.
        ASSERT_TRUE(test_support::CopyFileTo(test_support::TestBuildFile(L"bench\\instant_renderer.exe"),
                                             install_.Path() + L"\\Marrowdale 3D Screensaver.exe"));
        test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", install_.Path());
    }
    HWND parent = nullptr;
    std::wstring arguments = c.arguments;
    const size_t mark = arguments.find(L"{hwnd}");
    if (mark != std::wstring::npos) {
        parent = ::CreateWindowExW(0, L"STATIC", L"preview parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150,
                                   nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        arguments.replace(mark, 6, std::to_wstring(reinterpret_cast<UINT_PTR>(parent)));
    }
    DWORD processId = 0;
    UniqueHandle process = test_support::StartScreensaver(arguments, empty_.Path(), &processId);
    ASSERT_TRUE(process);
    const long code = ExitCodeClosingWindows(process, processId, parent);
    EXPECT_EQ(code, 0) << "exit code 0x" << std::hex << static_cast<unsigned long>(code);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EveryModeTest,
    ::testing::Values(ModeCase{"RunWithRenderer", L"/s", true}, ModeCase{"RunWithoutRenderer", L"/s", false},
                      ModeCase{"Configure", L"/c", false}, ModeCase{"ConfigureOwned", L"/c:{hwnd}", false},
                      ModeCase{"NoSwitch", L"", false}, ModeCase{"Preview", L"/p {hwnd}", false},
                      ModeCase{"PreviewOfWindowZero", L"/p 0", false}, ModeCase{"Password", L"/a", false},
                      ModeCase{"Test", L"/t", false}, ModeCase{"Register", L"/r", false},
                      ModeCase{"Garbage", L"/\x00e9\x0416 --x 99999999999999999999 \"", false},
                      ModeCase{"HugeWindowNumber", L"/p 18446744073709551617", false}),
    test_support::CaseName<ModeCase>);

TEST(CrashControl, ACrashingProgramIsCaughtWithItsExceptionCode) {
    const std::wstring path = test_support::TestBuildFile(L"tests\\app\\crashing_program.exe");
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                 &info));
    ::CloseHandle(info.hThread);
    UniqueHandle process(info.hProcess);
    // Natively the write through a null pointer is an access violation; under
    // qemu's user-mode emulation of 32-bit code it reaches Wine as an illegal
    // instruction. Either is the crash; anything else (0, or Wine's own
    // failure to start the program) is not.
    const unsigned long code = static_cast<unsigned long>(ExitCodeClosingWindows(process, info.dwProcessId, nullptr));
    EXPECT_TRUE(code == STATUS_ACCESS_VIOLATION || code == STATUS_ILLEGAL_INSTRUCTION) << "exit code 0x" << std::hex
                                                                                        << code;
}

}  // namespace
