// A thread of the program's own, joined when its owner ends. The 32-bit
// program is built with the compiler's win32 thread model, which has no
// std::thread: this stands in for it over CreateThread.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "framework/handles.h"

namespace framework {

class Thread {
public:
    Thread() = default;
    // Starts work at once; a thread that cannot be made leaves the object
    // empty (operator bool is false) and work unrun.
    explicit Thread(std::function<void()> work);
    ~Thread() { Join(); }
    Thread(Thread&&) = delete;
    Thread& operator=(Thread&&) = delete;

    explicit operator bool() const { return static_cast<bool>(handle_); }
    // Waits for the work to end; does nothing on an empty or joined thread.
    void Join();
    // Waits at most this long; true when the work has ended (the object is
    // then joined), false while it still runs.
    bool Join(DWORD milliseconds);
    // Lets a thread that still runs go on alone: the work holds a share of
    // itself, so nothing it uses goes with this object. The process's end
    // stops it.
    void Abandon() { handle_.Reset(); }

private:
    static DWORD WINAPI Run(void* work);

    UniqueHandle handle_;
};

}  // namespace framework
