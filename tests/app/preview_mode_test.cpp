// The preview mode as the system starts it: the program with /p and the
// number of a window of this test, in a process of its own. Its pane is not
// drawn on the screen under Wine, so only the windows are checked here; the
// pixels are checked in this process.
#include "framework/handles.h"
#include "tests/app/preview_parent.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using framework::UniqueHandle;
using test_support::PreviewParent;
using test_support::ExitCodeAfter;
using test_support::PumpUntil;

// Under Wine a parent whose child belongs to another process takes about
// 2 s to take the child along.
const DWORD kEndAfterParentMs = 5000;

UniqueHandle StartPreview(HWND parent, DWORD& processId) {
    const long number = static_cast<long>(reinterpret_cast<INT_PTR>(parent));
    return test_support::StartScreensaver(L"/p " + std::to_wstring(number), L"", &processId);
}

bool Ended(const UniqueHandle& process) { return ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0; }

HWND ChildOf(HWND parent) { return ::GetWindow(parent, GW_CHILD); }

struct SizeCase {
    const char* name;
    int width;
    int height;
};

class PreviewProcess : public ::testing::TestWithParam<SizeCase> {};

TEST_P(PreviewProcess, PaneCoversTheParentUntilTheParentCloses) {
    PreviewParent parent(GetParam().width, GetParam().height);
    DWORD processId = 0;
    UniqueHandle process = StartPreview(parent.Get(), processId);
    ASSERT_TRUE(process);

    // The pane is linked to its parent before its creation completes and shows it.
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(ChildOf(parent.Get())) || Ended(process); }, 20000));
    const HWND pane = ChildOf(parent.Get());
    ASSERT_NE(pane, nullptr);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(pane, &owner);
    EXPECT_EQ(owner, processId);
    RECT paneRect = {};
    ::GetWindowRect(pane, &paneRect);
    const RECT client = parent.ClientOnScreen();
    EXPECT_TRUE(::EqualRect(&paneRect, &client));
    EXPECT_EQ(::GetWindowLongW(pane, GWL_STYLE) & (WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CAPTION),
              WS_CHILD | WS_VISIBLE);

    // The pane stays for as long as its parent does.
    test_support::PumpMessagesFor(500);
    EXPECT_FALSE(Ended(process));
    EXPECT_EQ(ChildOf(parent.Get()), pane);

    const ULONGLONG destroyed = ::GetTickCount64();
    parent.Destroy();
    const DWORD spent = static_cast<DWORD>(::GetTickCount64() - destroyed);
    EXPECT_EQ(ExitCodeAfter(process, spent < kEndAfterParentMs ? kEndAfterParentMs - spent : 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Parents, PreviewProcess,
                         ::testing::Values(SizeCase{"152x112", 152, 112}, SizeCase{"304x224", 304, 224}),
                         [](const ::testing::TestParamInfo<SizeCase>& info) { return std::string(info.param.name); });

TEST(PreviewProcessTest, ParentClosingWhileThePaneIsMadeEndsTheProcess) {
    PreviewParent parent(152, 112, true);
    DWORD processId = 0;
    UniqueHandle process = StartPreview(parent.Get(), processId);
    ASSERT_TRUE(process);
    ASSERT_TRUE(PumpUntil([&] { return parent.Get() == nullptr || Ended(process); }, 20000));
    // The parent closed because the pane had begun to exist, not before.
    EXPECT_TRUE(parent.ChildCreationNotified());
    EXPECT_EQ(ExitCodeAfter(process, kEndAfterParentMs), 0);
}

struct NoParentCase {
    const char* name;
    // The window number to pass; made by the case.
    HWND (*number)();
};

HWND DestroyedWindow() {
    PreviewParent parent(152, 112);
    return parent.Get();  // destroyed with the object
}

HWND ChildOfDestroyedParent() {
    PreviewParent parent(152, 112);
    const HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent.Get(),
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(child, nullptr);
    return child;
}

HWND NotAWindow() { return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFFFFFF)); }

class PreviewWithoutParent : public ::testing::TestWithParam<NoParentCase> {};

TEST_P(PreviewWithoutParent, EndsAtOnceWithZero) {
    const HWND number = GetParam().number();
    ASSERT_FALSE(::IsWindow(number));
    DWORD processId = 0;
    UniqueHandle process = StartPreview(number, processId);
    ASSERT_TRUE(process);
    // Starting a process under Wine takes a moment; a pane would wait for a
    // parent that never closes.
    EXPECT_EQ(ExitCodeAfter(process, 10000), 0);
}

INSTANTIATE_TEST_SUITE_P(Numbers, PreviewWithoutParent,
                         ::testing::Values(NoParentCase{"DestroyedWindow", &DestroyedWindow},
                                           NoParentCase{"ChildOfDestroyedParent", &ChildOfDestroyedParent},
                                           NoParentCase{"NotAWindow", &NotAWindow}),
                         [](const ::testing::TestParamInfo<NoParentCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
