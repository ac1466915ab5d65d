// A dialog that waits (for the hardware's answers, for a consent) goes on
// painting and answering its messages, so that Windows never takes it for
// hung; only the buttons that would act are held, and the cursor over it
// shows that it is busy.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

class BusyButtons {
public:
    // Disables those of the dialog's buttons that are enabled, remembering
    // them and the focus, and shows the wait cursor.
    void Hold(HWND dialog, std::initializer_list<int> ids);
    // Gives back what Hold took.
    void Release(HWND dialog);
    bool Held() const { return held_; }
    // For WM_SETCURSOR: true when the wait cursor was set (the message is then handled).
    bool SetWaitCursor() const;

private:
    std::vector<HWND> buttons_;
    HWND focus_ = nullptr;
    bool held_ = false;
};
