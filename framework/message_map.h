// Message maps in the manner of WTL: each window class has one
// ProcessWindowMessage, written with the macros below as a chain of tests on
// the message, the control id and the notification code. A handler is called
// with bHandled set to TRUE and may clear it to pass the message on; the map
// of a derived class calls its base's map as a plain (non-virtual) call.
#pragma once

#include <windows.h>

namespace framework {

class CMessageMap {
public:
    // TRUE when the message was handled; result is then the message's result.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId = 0) = 0;
    virtual ~CMessageMap() = default;
};

}  // namespace framework

#define BEGIN_MSG_MAP(theClass)                                                                             \
public:                                                                                                     \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,         \
                              DWORD dwMsgMapID = 0) override {                                              \
        BOOL bHandled = TRUE;                                                                               \
        (void)hWnd;                                                                                         \
        (void)uMsg;                                                                                         \
        (void)wParam;                                                                                       \
        (void)lParam;                                                                                       \
        (void)lResult;                                                                                      \
        (void)dwMsgMapID;                                                                                   \
        (void)bHandled;

// LRESULT func(UINT message, WPARAM, LPARAM, BOOL& handled)
#define MESSAGE_HANDLER(msg, func)                              \
    if (uMsg == (msg)) {                                        \
        bHandled = TRUE;                                        \
        lResult = func(uMsg, wParam, lParam, bHandled);         \
        if (bHandled) return TRUE;                              \
    }

// LRESULT func(WORD code, WORD id, HWND control, BOOL& handled)
#define COMMAND_HANDLER(id, code, func)                                                                  \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {                      \
        bHandled = TRUE;                                                                                 \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);        \
        if (bHandled) return TRUE;                                                                       \
    }

#define COMMAND_ID_HANDLER(id, func)                                                                     \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                                  \
        bHandled = TRUE;                                                                                 \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);        \
        if (bHandled) return TRUE;                                                                       \
    }

#define COMMAND_CODE_HANDLER(code, func)                                                                 \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (code)) {                                                \
        bHandled = TRUE;                                                                                 \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);        \
        if (bHandled) return TRUE;                                                                       \
    }

// LRESULT func(int id, NMHDR* header, BOOL& handled)
#define NOTIFY_HANDLER(id, notifyCode, func)                                                             \
    if (uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(id) &&     \
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode)) {                       \
        bHandled = TRUE;                                                                                 \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled);            \
        if (bHandled) return TRUE;                                                                       \
    }

#define CHAIN_MSG_MAP(theChainClass)                                                                     \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define END_MSG_MAP() \
    return FALSE;     \
    }
