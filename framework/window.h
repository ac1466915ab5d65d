// A window handle with the calls the program makes on it. Owns nothing: the
// window lives as long as the system keeps it, and copies are just handles.
#pragma once

#include <windows.h>

#include <string>

namespace framework {

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND window = nullptr) : m_hWnd(window) {}
    CWindow& operator=(HWND window) {
        m_hWnd = window;
        return *this;
    }
    operator HWND() const { return m_hWnd; }

    void Attach(HWND window) { m_hWnd = window; }
    HWND Detach() {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }

    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL ShowWindow(int command) const { return ::ShowWindow(m_hWnd, command); }
    BOOL SetWindowText(const wchar_t* text) const { return ::SetWindowTextW(m_hWnd, text); }
    std::wstring GetWindowText() const;
    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(m_hWnd, rect); }
    BOOL DestroyWindow() const { return ::DestroyWindow(m_hWnd); }
    HICON SetIcon(HICON icon, BOOL big = TRUE) const {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
    }
};

}  // namespace framework
