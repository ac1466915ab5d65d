// Windows of a class the program registers itself, each backed by an object
// of class T that receives every message through its message map; what the
// map does not handle goes to DefWindowProcW.
#pragma once

#include "framework/app_module.h"
#include "framework/window_impl_root.h"

#include <utility>

namespace framework {

template <DWORD Style, DWORD ExStyle = 0>
struct CWinTraits {
    static DWORD GetWndStyle(DWORD style) { return style == 0 ? Style : style; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle == 0 ? ExStyle : exStyle; }
};

using CControlWinTraits = CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0>;

// Registers, once per identity, the default window class: redrawn when
// resized, double clicks, the window colour as background, the arrow cursor
// and a name made from the identity. 0 when registration fails.
ATOM RegisterDefaultWindowClass(const void* identity, WNDPROC procedure);

template <class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImplBaseT : public CWindowImplRoot<TBase> {
public:
    virtual WNDPROC GetWindowProc() { return WindowProc; }
    // Called after the last message (WM_NCDESTROY), when the window is gone.
    virtual void OnFinalMessage(HWND /*window*/) {}

    static LRESULT CALLBACK StartWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<CWindowImplBaseT*>(std::exchange(CreatingObject(), nullptr));
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        self->m_hWnd = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
        return WindowProc(window, message, wParam, lParam);
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<CWindowImplBaseT*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
        LRESULT result = 0;
        if (!ProcessWithoutThrowing(*self, window, message, wParam, lParam, result)) {
            result = ::DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_hWnd = nullptr;
            try {
                self->OnFinalMessage(window);
            } catch (...) {
            }
        }
        return result;
    }
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplBaseT<TBase, TWinTraits> {
public:
    // The window, or null when the class cannot be registered or the window
    // cannot be created.
    HWND Create(HWND parent, const RECT& rect, const wchar_t* name = nullptr, DWORD style = 0, DWORD exStyle = 0) {
        using Base = CWindowImplBaseT<TBase, TWinTraits>;
        static const char identity = 0;
        const ATOM atom = RegisterDefaultWindowClass(&identity, &Base::StartWindowProc);
        if (atom == 0) return nullptr;
        CreatingObject() = static_cast<Base*>(this);
        HWND window = ::CreateWindowExW(TWinTraits::GetWndExStyle(exStyle), MAKEINTATOM(atom), name ? name : L"",
                                        TWinTraits::GetWndStyle(style), rect.left, rect.top, rect.right - rect.left,
                                        rect.bottom - rect.top, parent, nullptr, Module().GetResourceInstance(),
                                        nullptr);
        CreatingObject() = nullptr;
        return window;
    }
};

}  // namespace framework
