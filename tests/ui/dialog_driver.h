// Runs a dialog of the program modally in the test's own process and runs a
// script inside the dialog's own message loop once it has initialised, so
// that the script drives the real dialog through its messages.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace test_support {

inline constexpr UINT kRunScript = WM_APP + 0x3A1;

template <class Dialog>
class Driven : public Dialog {
public:
    using Dialog::Dialog;

    std::function<void(Driven&)> script;

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
    bool Checked(int id) const { return ::SendMessageW(this->GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool Enabled(int id) const { return ::IsWindowEnabled(this->GetDlgItem(id)) != FALSE; }
    std::wstring Text(int id) const { return framework::CWindow(this->GetDlgItem(id)).GetWindowText(); }

private:
    // The dialog initialises as it would alone; the script runs once the
    // dialog manager has shown it and the loop is running.
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
        LRESULT result = FALSE;
        Dialog::ProcessWindowMessage(this->m_hWnd, message, wParam, lParam, result);
        this->PostMessage(kRunScript);
        return result;
    }

    LRESULT OnRunScript(UINT, WPARAM, LPARAM, BOOL&) {
        if (script) script(*this);
        // A script that stopped early (a failed assertion) must not leave
        // the test waiting on an open dialog.
        if (this->m_hWnd) this->EndDialog(0);
        return 0;
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
