// Windows of the program's own class, the message loop and the module's
// table of loops.
#include "framework/app_module.h"
#include "framework/message_loop.h"
#include "framework/thread.h"
#include "framework/window_impl.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kCount = WM_APP + 2;

class TestWindow : public framework::CWindowImpl<TestWindow> {
public:
    int counted = 0;
    int finalMessages = 0;
    bool destroyed = false;

    BEGIN_MSG_MAP(TestWindow)
        MESSAGE_HANDLER(kThrow, OnThrow)
        MESSAGE_HANDLER(kCount, OnCount)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

    void OnFinalMessage(HWND) override { ++finalMessages; }

private:
    LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT OnCount(UINT, WPARAM, LPARAM, BOOL&) { return ++counted; }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
        destroyed = true;
        ::PostQuitMessage(5);
        return 0;
    }
};

class WindowImplTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (::IsWindow(parent_)) ::DestroyWindow(parent_);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND parent_ = nullptr;
};

TEST_F(WindowImplTest, TheDefaultClassAndTheObjectInTheWindow) {
    TestWindow window;
    const RECT rect{5, 6, 105, 56};
    HWND created = window.Create(parent_, rect, L"", WS_CHILD | WS_VISIBLE);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(window.m_hWnd, created);
    EXPECT_EQ(::GetWindowLongPtrW(created, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window));
    EXPECT_EQ(static_cast<DWORD>(::GetClassLongPtrW(created, GCL_STYLE)), DWORD{CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS});
    EXPECT_EQ(::GetClassLongPtrW(created, GCLP_HBRBACKGROUND), COLOR_WINDOW + 1);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(created, GCLP_HCURSOR)), ::LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(created, GWL_STYLE)) & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
              DWORD{WS_CHILD | WS_VISIBLE});
    RECT client{};
    ::GetWindowRect(created, &client);
    ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(client.left, 5);
    EXPECT_EQ(client.top, 6);
    EXPECT_EQ(client.right, 105);
    EXPECT_EQ(client.bottom, 56);
    window.DestroyWindow();
}

TEST_F(WindowImplTest, UnhandledMessagesGetTheDefaultAndAThrowingHandlerIsContained) {
    TestWindow window;
    HWND created = window.Create(parent_, RECT{0, 0, 50, 50}, L"", WS_CHILD);
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(::SetWindowTextW(created, L"by DefWindowProc"));
    EXPECT_EQ(window.GetWindowText(), L"by DefWindowProc");
    ::SendMessageW(created, kThrow, 0, 0);
    EXPECT_EQ(::SendMessageW(created, kCount, 0, 0), 1);
    window.DestroyWindow();
}

TEST_F(WindowImplTest, DestroyingTheParentEndsTheLoopAndReleasesTheWindow) {
    TestWindow window;
    HWND created = window.Create(parent_, RECT{0, 0, 50, 50}, L"", WS_CHILD | WS_VISIBLE);
    ASSERT_NE(created, nullptr);
    framework::CMessageLoop loop;
    ::PostMessageW(created, kCount, 0, 0);
    ::PostMessageW(parent_, WM_CLOSE, 0, 0);  // a static's default closing destroys it
    EXPECT_EQ(loop.Run(), 5);
    EXPECT_EQ(window.counted, 1);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(window.finalMessages, 1);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(created));
}

TEST(AppModule, OneMessageLoopPerThread) {
    framework::CAppModule module;
    framework::CMessageLoop mine, again, theirs;
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    EXPECT_TRUE(module.AddMessageLoop(&mine));
    EXPECT_FALSE(module.AddMessageLoop(&again));
    EXPECT_EQ(module.GetMessageLoop(), &mine);

    const DWORD self = ::GetCurrentThreadId();
    framework::CMessageLoop* seenFromOther = nullptr;
    framework::CMessageLoop* otherOwn = &again;
    framework::Thread other([&] {
        seenFromOther = module.GetMessageLoop(self);
        EXPECT_TRUE(module.AddMessageLoop(&theirs));
        otherOwn = module.GetMessageLoop();
        EXPECT_TRUE(module.RemoveMessageLoop());
    });
    other.Join();
    EXPECT_EQ(seenFromOther, &mine);
    EXPECT_EQ(otherOwn, &theirs);
    EXPECT_EQ(module.GetMessageLoop(), &mine);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_FALSE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
}

}  // namespace
