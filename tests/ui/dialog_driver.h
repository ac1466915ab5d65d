// Runs a dialog of the program modally in the test's own process and runs a
// script inside the dialog's own message loop once it has initialised, so
// that the script drives the real dialog through its messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace test_support {

inline constexpr UINT kRunScript = WM_APP + 0x3A1;

template <class Dialog>
class Driven : public Dialog {
public:
    using Dialog::Dialog;

    std::function<void(Driven&)> script;
    // Whether the script waits until the dialog shows every hardware answer
    // (false: it acts on the dialog as it first shows).
    bool awaitAnswers = true;

    BEGIN_MSG_MAP(Driven)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(kRunScript, OnRunScript)
        CHAIN_MSG_MAP(Dialog)
    END_MSG_MAP()

    // A real click: the button changes its state and tells the dialog.
    void Click(int id) { ::SendMessageW(this->GetDlgItem(id), BM_CLICK, 0, 0); }
    void Command(int id, WORD code) {
        this->SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(this->GetDlgItem(id)));
    }
    // A key pressed and released on a control, as the keyboard delivers it
    // (a trackbar moves by one line and tells the dialog twice).
    void Key(int id, UINT key) {
        const HWND control = this->GetDlgItem(id);
        ::SendMessageW(control, WM_KEYDOWN, key, 1);
        ::SendMessageW(control, WM_KEYUP, key, 0xC0000001);
    }
    // An entry chosen in a combo box; the dialog hears of it as from the user.
    void Choose(int id, int index) {
        ::SendMessageW(this->GetDlgItem(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Command(id, CBN_SELENDOK);
    }
    bool Checked(int id) const { return ::SendMessageW(this->GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(this->GetDlgItem(id)) != FALSE; }
    std::wstring Text(int id) const { return framework::CWindow(this->GetDlgItem(id)).GetWindowText(); }
    // A combo box's entries in list order, and the selected one's position (-1: none).
    std::vector<std::wstring> Entries(int id) const {
        const HWND list = this->GetDlgItem(id);
        std::vector<std::wstring> entries;
        const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring text(static_cast<size_t>(::SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
            const LRESULT length = ::SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(length > 0 ? static_cast<size_t>(length) : 0);
            entries.push_back(text);
        }
        return entries;
    }
    int Selected(int id) const { return static_cast<int>(::SendMessageW(this->GetDlgItem(id), CB_GETCURSEL, 0, 0)); }

private:
    // The dialog initialises as it would alone; the script runs once the
    // dialog manager has shown it and the loop is running.
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
        LRESULT result = FALSE;
        Dialog::ProcessWindowMessage(this->m_hWnd, message, wParam, lParam, result);
        this->PostMessage(kRunScript);
        return result;
    }

    template <class D>
    static auto AnswersShown(const D& dialog, int) -> decltype(dialog.HardwareAnswersShown()) {
        return dialog.HardwareAnswersShown();
    }
    template <class D>
    static bool AnswersShown(const D&, long) {
        return true;
    }

    // Lets the answers come through the dialog's own messages, as they would
    // while the user looks at the dialog.
    void PumpUntilAnswersShown() {
        Pump([this] { return AnswersShown(*this, 0); }, 20000);
    }

    LRESULT OnRunScript(UINT, WPARAM, LPARAM, BOOL&) {
        if (awaitAnswers) PumpUntilAnswersShown();
        if (script) script(*this);
        // A script that stopped early (a failed assertion) must not leave
        // the test waiting on an open dialog.
        if (this->m_hWnd) this->EndDialog(0);
        return 0;
    }

public:
    // Runs the thread's messages, as the dialog's loop would, until done()
    // or for at most `milliseconds`.
    template <class Done>
    void Pump(Done done, DWORD milliseconds) {
        const DWORD start = ::GetTickCount();
        while (!done() && ::GetTickCount() - start < milliseconds) {
            MSG message;
            if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                continue;
            }
            if (message.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(message.wParam));
                return;
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
};

// Runs the dialog and removes the WM_QUIT its closing leaves in the queue,
// which would otherwise end the next dialog of the test program at once.
template <class Dialog>
INT_PTR RunDriven(Driven<Dialog>& dialog, std::function<void(Driven<Dialog>&)> script, HWND owner = nullptr) {
    dialog.script = std::move(script);
    const INT_PTR result = dialog.DoModal(owner);
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    return result;
}

}  // namespace test_support
