// Watches for a message box of this process from another thread, notes what
// it shows and dismisses it, so that a dialog handler that shows one can run
// to its end inside a test.
#pragma once

#include "tests/support/dialog_watcher.h"

#include <windows.h>

#include <string>

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

    // Stops watching; what the first box showed.
    SeenMessageBox Stop();

private:
    void Note(HWND box);

    SeenMessageBox seen_;
    DialogWatcher watcher_;
};

}  // namespace test_support
