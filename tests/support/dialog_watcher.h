// Drives a dialog that a handler of the test's own dialog runs modally (a
// message box, the open-file dialog, the playlist dialog): while the test's
// thread waits inside that modal loop, a thread of its own finds the dialog
// and acts on it through messages.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/thread.h"

namespace test_support {

class DialogWatcher {
public:
    // Runs act on the watcher's thread with the first visible top-level
    // dialog (#32770) of this process that match accepts.
    DialogWatcher(std::function<bool(HWND)> match, std::function<void(HWND)> act);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Stops watching; true when a dialog was found and acted on.
    bool Stop();

private:
    void Watch();

    std::function<bool(HWND)> match_;
    std::function<void(HWND)> act_;
    std::atomic<bool> stop_{false};
    bool acted_ = false;
    framework::Thread thread_;
};

}  // namespace test_support
