// Watches for a message box of this process from another thread, notes what
// it shows and dismisses it, so that a dialog handler that shows one can run
// to its end inside a test.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace test_support {

struct SeenMessageBox {
    bool shown = false;
    std::wstring caption;
    std::wstring text;
    HWND owner = nullptr;
    bool errorIcon = false;
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Stops watching; what the first box showed.
    SeenMessageBox Stop();

private:
    void Watch();

    std::atomic<bool> stop_{false};
    SeenMessageBox seen_;
    std::thread thread_;
};

}  // namespace test_support
