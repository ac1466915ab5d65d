// Modal dialogs of the window layer against Wine's real dialog manager: the
// object reaches its messages without thunks, keeps running when a handler
// throws, and lets go of its window on the last message.
#include "config/node.h"
#include "framework/dialog_impl.h"
#include "framework_test_ids.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace {

constexpr UINT kThrowBadAlloc = WM_APP + 1;
constexpr UINT kThrowKeyNotFound = WM_APP + 2;
constexpr UINT kThrowInt = WM_APP + 3;
constexpr UINT kFinish = WM_APP + 4;

class TestDialog : public framework::CDialogImpl<TestDialog> {
public:
    enum { IDD = IDD_FRAMEWORK_TEST };

    std::vector<std::string> log;
    LONG_PTR userDataAtInit = 0;
    LPARAM initParam = -1;
    HWND window = nullptr;
    int finalMessages = 0;
    HWND finalWindow = nullptr;

    BEGIN_MSG_MAP(TestDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(kThrowBadAlloc, OnThrowBadAlloc)
        MESSAGE_HANDLER(kThrowKeyNotFound, OnThrowKeyNotFound)
        MESSAGE_HANDLER(kThrowInt, OnThrowInt)
        MESSAGE_HANDLER(kFinish, OnFinish)
        COMMAND_HANDLER(IDC_TEST_BUTTON, BN_CLICKED, OnButton)
    END_MSG_MAP()

    void OnFinalMessage(HWND finished) override {
        ++finalMessages;
        finalWindow = finished;
    }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
        window = m_hWnd;
        userDataAtInit = ::GetWindowLongPtrW(m_hWnd, DWLP_USER);
        initParam = lParam;
        // Everything the test does happens in the dialog's own loop.
        for (UINT message : {kThrowBadAlloc, kThrowKeyNotFound, kThrowInt}) PostMessage(message);
        ::PostMessageW(GetDlgItem(IDC_TEST_BUTTON), BM_CLICK, 0, 0);
        PostMessage(kFinish);
        return TRUE;
    }
    LRESULT OnThrowBadAlloc(UINT, WPARAM, LPARAM, BOOL&) {
        log.push_back("bad_alloc");
        throw std::bad_alloc();
    }
    LRESULT OnThrowKeyNotFound(UINT, WPARAM, LPARAM, BOOL&) {
        log.push_back("KeyNotFound");
        Node tree;
        tree.Get(L"leaf") = 1;
        tree.Get(L"leaf/below");  // a path through a value throws
        return 0;
    }
    LRESULT OnThrowInt(UINT, WPARAM, LPARAM, BOOL&) {
        log.push_back("int");
        throw 42;
    }
    LRESULT OnButton(WORD, WORD, HWND, BOOL&) {
        log.push_back("button");
        return 0;
    }
    LRESULT OnFinish(UINT, WPARAM, LPARAM, BOOL&) {
        log.push_back("finish");
        EndDialog(7);
        return 0;
    }
};

// A modal run leaves WM_QUIT behind when a dialog posts it; tests of one
// process run several dialogs.
void DrainQuit() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST(DialogImpl, RunsModallyAndEveryHandlerReachesTheObject) {
    TestDialog dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), 7);
    DrainQuit();
    // The throwing handlers did not end the dialog: the messages behind them arrived.
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"bad_alloc", "KeyNotFound", "int", "button", "finish"}));
    EXPECT_EQ(dialog.userDataAtInit, reinterpret_cast<LONG_PTR>(&dialog));
    EXPECT_EQ(dialog.initParam, 0);
}

TEST(DialogImpl, LetsGoOfTheWindowOnTheLastMessage) {
    TestDialog dialog;
    dialog.DoModal(nullptr);
    DrainQuit();
    EXPECT_EQ(dialog.finalMessages, 1);
    EXPECT_EQ(dialog.finalWindow, dialog.window);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(dialog.window));
    EXPECT_EQ(framework::CreatingObject(), nullptr);
}

TEST(DialogImpl, AnOwnerIsPassedOn) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    struct OwnedDialog : TestDialog {
        HWND ownerSeen = nullptr;
        BEGIN_MSG_MAP(OwnedDialog)
            MESSAGE_HANDLER(WM_INITDIALOG, OnInit)
            CHAIN_MSG_MAP(TestDialog)
        END_MSG_MAP()
        LRESULT OnInit(UINT, WPARAM, LPARAM, BOOL& handled) {
            ownerSeen = ::GetWindow(m_hWnd, GW_OWNER);
            handled = FALSE;
            return 0;
        }
    } dialog;
    dialog.DoModal(owner);
    DrainQuit();
    EXPECT_EQ(dialog.ownerSeen, owner);
    ::DestroyWindow(owner);
}

class MissingDialog : public framework::CDialogImpl<MissingDialog> {
public:
    enum { IDD = IDD_FRAMEWORK_MISSING };
    BEGIN_MSG_MAP(MissingDialog)
    END_MSG_MAP()
};

TEST(DialogImpl, AMissingTemplateFailsAndLeavesNoObjectBehind) {
    MissingDialog missing;
    EXPECT_EQ(missing.DoModal(nullptr), -1);
    // The next window created on this thread must not be handed this object.
    EXPECT_EQ(framework::CreatingObject(), nullptr);
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

}  // namespace
