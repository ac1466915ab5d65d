// A further start of the program while its settings are open, as Explorer's
// "Configure" or a double-click makes one: it brings the open dialog (or its
// playlist dialog) to the front and ends, making no window of its own and
// posting nothing to the wallpaper. Where no dialog of this program is open
// (none was, it closed, its process died holding the claim, or another
// program shows a dialog of the same caption and even took the claim's
// names), the start shows its own: the rows that show the check sees a
// window when one is made.
#include "app/settings_claim.h"
#include "config/product.h"
#include "framework/handles.h"
#include "res/settings_dialog_ids.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/stub_wallpaper.h"
#include "tests/support/temp_folder.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using framework::UniqueHandle;

const wchar_t kCaption[] = L"Marrowdale 3D Screensaver 1.0 Configuration";

enum class Before {
    Nothing,        // nothing open
    Open,           // a first start's dialog
    Minimised,      // the same, minimised
    PlaylistOpen,   // the same, with its playlist dialog open
    Closed,         // a first start's dialog, closed again
    Closing,        // the same, held still (all its threads suspended) once
                    // its dialog has left the screen, until a while after
                    // the second start: as a slow machine ends a process
    DiedHolding,    // a first start ended from outside while the test holds
                    // the claim's objects, which keep what it published
    ForeignDialog,  // the test holds the claim's names and publishes its own
                    // dialog with the same caption
};

struct SecondStartCase {
    const char* name;
    Before before;
    const wchar_t* arguments;  // "{hwnd}" stands for a window of the test
    const wchar_t* shows;      // the caption of the window it shows, or null
};

// Names the case in failure messages instead of a byte dump.
void PrintTo(const SecondStartCase& c, std::ostream* os) { *os << c.name; }

// What a process showed while watched: any top-level window at all, and the
// visible one of the caption looked for.
struct Seen {
    DWORD processId;
    const wchar_t* caption;
    bool anyWindow;
    HWND shown;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM context) {
    auto* seen = reinterpret_cast<Seen*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != seen->processId) return TRUE;
    seen->anyWindow = true;
    if (seen->caption && ::IsWindowVisible(window) && test_support::WindowText(window) == seen->caption) {
        seen->shown = window;
    }
    return TRUE;
}

// Watches the process until it ends, shows the window of the caption or,
// without a caption, makes any window.
Seen Watch(const UniqueHandle& process, DWORD processId, const wchar_t* caption) {
    Seen seen{processId, caption, false, nullptr};
    const ULONGLONG deadline = ::GetTickCount64() + 60000;
    while (::GetTickCount64() < deadline && !seen.shown && !(caption == nullptr && seen.anyWindow)) {
        ::EnumWindows(&NoteWindow, reinterpret_cast<LPARAM>(&seen));
        if (::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0) break;
        test_support::PumpMessagesFor(20);
    }
    return seen;
}

// Suspends every thread of the process; resumed when the object goes.
class HeldProcess {
public:
    explicit HeldProcess(DWORD processId) {
        const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof(entry);
        for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
            if (entry.th32OwnerProcessID != processId) continue;
            HANDLE thread = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
            if (thread && ::SuspendThread(thread) != static_cast<DWORD>(-1)) {
                threads_.push_back(thread);
            } else if (thread) {
                ::CloseHandle(thread);
            }
        }
        ::CloseHandle(snapshot);
    }
    ~HeldProcess() { Release(); }
    HeldProcess(const HeldProcess&) = delete;
    HeldProcess& operator=(const HeldProcess&) = delete;
    bool Held() const { return !threads_.empty(); }
    void Release() {
        for (HANDLE thread : threads_) {
            ::ResumeThread(thread);
            ::CloseHandle(thread);
        }
        threads_.clear();
    }

private:
    std::vector<HANDLE> threads_;
};

DWORD WINAPI ReleaseLater(void* held) {
    ::Sleep(3000);
    static_cast<HeldProcess*>(held)->Release();
    return 0;
}

class SecondStartTest : public ::testing::TestWithParam<SecondStartCase> {
protected:
    void TearDown() override {
        if (held_) held_->Release();
        if (playlist_) ::PostMessageW(playlist_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (first_ && ::WaitForSingleObject(first_.Get(), 0) == WAIT_TIMEOUT) {
            if (playlist_) test_support::PumpMessagesFor(500);
            ::PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            EXPECT_EQ(test_support::ExitCodeAfter(first_, 30000), 0);
        }
        if (ours_) ::DestroyWindow(ours_);
    }

    // Starts "<scr> /c" and waits for its dialog.
    void OpenFirst() {
        first_ = test_support::StartScreensaver(L"/c", L"", &firstId_);
        ASSERT_TRUE(first_);
        dialog_ = test_support::WaitForTopLevelWindow(L"#32770", kCaption, 60000, firstId_);
        ASSERT_NE(dialog_, nullptr) << "no first dialog";
        // The dialog shows before its start has ended: the dialog manager
        // shows and activates it once more, and the hardware's answers fill
        // the antialiasing list last. A test that minimised it or took the
        // front before then would race the dialog's own start.
        ::WaitForInputIdle(first_.Get(), 30000);
        const HWND samples = ::GetDlgItem(dialog_, IDC_ANTIALIASING_QUALITY);
        DWORD_PTR count = 0;
        for (int i = 0; i < 300 && count == 0; ++i) {
            if (!::SendMessageTimeoutW(samples, CB_GETCOUNT, 0, 0, SMTO_BLOCK, 1000, &count)) count = 0;
            if (count == 0) test_support::PumpMessagesFor(100);
        }
        test_support::PumpMessagesFor(200);
    }

    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
    UniqueHandle first_;
    DWORD firstId_ = 0;
    HWND dialog_ = nullptr;
    HWND playlist_ = nullptr;
    HWND ours_ = nullptr;  // the test's own window, in front before the start
    std::unique_ptr<HeldProcess> held_;
};

TEST_P(SecondStartTest, BringsTheOpenDialogForwardOrShowsItsOwn) {
    const SecondStartCase& c = GetParam();
    test_support::StubWallpaper wallpaper;
    ASSERT_NE(wallpaper.Window(), nullptr);

    UniqueHandle heldMutex, heldSection;
    framework::MutexOwnership ownership;
    framework::MappedView view;
    HWND foreign = nullptr;
    if (c.before != Before::Nothing && c.before != Before::ForeignDialog) {
        ASSERT_NO_FATAL_FAILURE(OpenFirst());
    }
    switch (c.before) {
        case Before::Minimised:
            ::ShowWindow(dialog_, SW_MINIMIZE);
            ASSERT_TRUE(::IsIconic(dialog_));
            break;
        case Before::PlaylistOpen:
            ::PostMessageW(::GetDlgItem(dialog_, IDC_EDIT_PLAYLIST), BM_CLICK, 0, 0);
            playlist_ = test_support::WaitForTopLevelWindow(L"#32770", L"Playlist", 60000, firstId_);
            ASSERT_NE(playlist_, nullptr) << "no playlist dialog";
            break;
        case Before::Closed:
            ::PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            ASSERT_EQ(test_support::ExitCodeAfter(first_, 30000), 0);
            break;
        case Before::Closing:
            ::PostMessageW(dialog_, WM_CLOSE, 0, 0);
            for (int i = 0; i < 5000 && ::IsWindowVisible(dialog_); ++i) ::Sleep(1);
            ASSERT_FALSE(::IsWindowVisible(dialog_)) << "the first dialog did not close";
            held_ = std::make_unique<HeldProcess>(firstId_);
            ASSERT_TRUE(held_->Held());
            break;
        case Before::DiedHolding:
            heldMutex.Reset(::OpenMutexW(SYNCHRONIZE, FALSE, SettingsClaim::kMutexName));
            heldSection.Reset(::OpenFileMappingW(FILE_MAP_READ, FALSE, SettingsClaim::kSectionName));
            ASSERT_TRUE(heldMutex && heldSection) << "the first start holds no claim";
            ASSERT_TRUE(::TerminateProcess(first_.Get(), 1));
            ASSERT_EQ(::WaitForSingleObject(first_.Get(), 10000), static_cast<DWORD>(WAIT_OBJECT_0));
            break;
        case Before::ForeignDialog: {
            foreign = ::CreateWindowExW(0, L"#32770", kCaption, WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr);
            ASSERT_NE(foreign, nullptr);
            heldMutex.Reset(::CreateMutexW(nullptr, TRUE, SettingsClaim::kMutexName));
            ASSERT_TRUE(heldMutex);
            ownership.Take(heldMutex.Get());
            heldSection.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                   sizeof(SettingsClaim::Published), SettingsClaim::kSectionName));
            ASSERT_TRUE(heldSection);
            view.Reset(::MapViewOfFile(heldSection.Get(), FILE_MAP_WRITE, 0, 0, sizeof(SettingsClaim::Published)));
            ASSERT_TRUE(view);
            auto* published = static_cast<SettingsClaim::Published*>(view.Get());
            published->processId = static_cast<LONG>(::GetCurrentProcessId());
            published->window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(foreign));
            break;
        }
        default: break;
    }

    // The test's own window in front, so that bringing the dialog forward
    // shows.
    ours_ = ::CreateWindowExW(0, L"STATIC", L"Screen Saver Settings", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(ours_, nullptr);
    ::SetForegroundWindow(ours_);
    test_support::PumpMessagesFor(200);
    ASSERT_EQ(::GetForegroundWindow(), ours_);

    std::wstring arguments = c.arguments;
    const size_t mark = arguments.find(L"{hwnd}");
    if (mark != std::wstring::npos) arguments.replace(mark, 6, std::to_wstring(reinterpret_cast<UINT_PTR>(ours_)));
    test_support::TempFolder empty;
    DWORD secondId = 0;
    UniqueHandle second = test_support::StartScreensaver(arguments, empty.Path(), &secondId);
    ASSERT_TRUE(second);
    UniqueHandle releaser(held_ ? ::CreateThread(nullptr, 0, &ReleaseLater, held_.get(), 0, nullptr) : nullptr);
    const Seen seen = Watch(second, secondId, c.shows);
    if (releaser) ::WaitForSingleObject(releaser.Get(), 10000);

    if (c.shows) {
        ASSERT_NE(seen.shown, nullptr) << "it showed no window of its own";
        const bool box = std::wstring(c.shows) != kCaption;
        ::PostMessageW(seen.shown, WM_COMMAND, MAKEWPARAM(box ? IDOK : IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(test_support::ExitCodeAfter(second, 30000), 0);
    } else {
        EXPECT_EQ(test_support::ExitCodeAfter(second, 30000), 0);
        EXPECT_FALSE(seen.anyWindow) << "it made a window";
        test_support::PumpMessagesFor(300);
        EXPECT_EQ(::GetForegroundWindow(), playlist_ ? playlist_ : dialog_);
        EXPECT_FALSE(::IsIconic(dialog_));
        EXPECT_TRUE(wallpaper.Received().empty());
    }
    if (foreign) ::DestroyWindow(foreign);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, SecondStartTest,
    ::testing::Values(SecondStartCase{"NothingOpen", Before::Nothing, L"/c", kCaption},
                      SecondStartCase{"OpenThenConfigure", Before::Open, L"/c", nullptr},
                      SecondStartCase{"OpenThenNoSwitch", Before::Open, L"", nullptr},
                      SecondStartCase{"OpenThenOwnedConfigure", Before::Open, L"/c:{hwnd}", nullptr},
                      SecondStartCase{"MinimisedThenConfigure", Before::Minimised, L"/c", nullptr},
                      SecondStartCase{"PlaylistOpenThenNoSwitch", Before::PlaylistOpen, L"", nullptr},
                      SecondStartCase{"OpenThenRunWithoutRenderer", Before::Open, L"/s", L"Error!"},
                      SecondStartCase{"ClosedThenConfigure", Before::Closed, L"/c", kCaption},
                      SecondStartCase{"ClosingThenConfigure", Before::Closing, L"/c", kCaption},
                      SecondStartCase{"DiedHoldingThenConfigure", Before::DiedHolding, L"/c", kCaption},
                      SecondStartCase{"ForeignDialogThenConfigure", Before::ForeignDialog, L"/c", kCaption}),
    test_support::CaseName<SecondStartCase>);

}  // namespace
