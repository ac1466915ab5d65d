// Modal dialogs from a dialog template: the object of class T (which names
// its template in IDD, a constant of the class or a member of the object)
// receives every message of its dialog through its message map.
#pragma once

#include "framework/app_module.h"
#include "framework/window_impl_root.h"

#include <utility>

namespace framework {

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
public:
    virtual DLGPROC GetDialogProc() { return StartDialogProc; }
    // Called after the last message (WM_NCDESTROY), when the window is gone.
    virtual void OnFinalMessage(HWND /*window*/) {}

    BOOL EndDialog(int result) { return ::EndDialog(this->m_hWnd, result); }

    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<CDialogImplBaseT*>(std::exchange(CreatingObject(), nullptr));
        if (!self) return FALSE;
        self->m_hWnd = window;
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        ::SetWindowLongPtrW(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(&DialogProc));
        return DialogProc(window, message, wParam, lParam);
    }

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CDialogImplBaseT*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!self) return FALSE;
        LRESULT result = 0;
        const BOOL handled = ProcessWithoutThrowing(*self, window, message, wParam, lParam, result);
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, DWLP_USER, 0);
            self->m_hWnd = nullptr;
            try {
                self->OnFinalMessage(window);
            } catch (...) {
            }
            return handled;
        }
        if (!handled) return FALSE;
        switch (message) {
            // These return their result directly instead of through DWLP_MSGRESULT.
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_INITDIALOG:
            case WM_QUERYDRAGICON:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
                return static_cast<INT_PTR>(result);
            default:
                ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
                return TRUE;
        }
    }
};

template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
public:
    // Runs the dialog of template IDD until EndDialog; the result of
    // DialogBoxParamW (-1 when the dialog could not be created). IDD is read
    // from the object, so one class can serve more than one template.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0) {
        CreatingObject() = static_cast<CDialogImplBaseT<TBase>*>(this);
        const INT_PTR result =
            ::DialogBoxParamW(Module().GetResourceInstance(), MAKEINTRESOURCEW(static_cast<T*>(this)->IDD), owner,
                              &CDialogImplBaseT<TBase>::StartDialogProc, initParam);
        // The template may have failed to load before any message arrived.
        CreatingObject() = nullptr;
        return result;
    }
};

}  // namespace framework
