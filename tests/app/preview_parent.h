// What the preview tests share: a framed top-level window of the test that
// stands in for the settings page's preview area, and waiting while this
// thread keeps answering the messages other processes send it.
#pragma once

#include <windows.h>

#include <functional>

namespace test_support {

class PreviewParent {
public:
    // A visible window whose client area has the given size. When
    // closeOnChildCreated is set, the window closes itself as soon as a child
    // window tells it of its creation (WM_PARENTNOTIFY).
    PreviewParent(int clientWidth, int clientHeight, bool closeOnChildCreated = false);
    ~PreviewParent();
    PreviewParent(const PreviewParent&) = delete;
    PreviewParent& operator=(const PreviewParent&) = delete;

    HWND Get() const { return window_; }
    // The client area in screen co-ordinates.
    RECT ClientOnScreen() const;
    // Destroys the window if it is still there.
    void Destroy();
    bool ChildCreationNotified() const { return childCreationNotified_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    bool closeOnChildCreated_;
    bool childCreationNotified_ = false;
};

// Handles this thread's messages until done() holds or the time is up;
// gives done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace test_support
