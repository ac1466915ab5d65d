// The message loop of a thread that shows windows of its own (not a modal
// dialog, which has the system's loop).
#pragma once

#include <windows.h>

namespace framework {

class CMessageLoop {
public:
    // Gets and dispatches messages until WM_QUIT; returns its exit code. A
    // failed GetMessageW is not the end of the loop.
    int Run();
};

}  // namespace framework
