// GoogleTest's Notification is made of std::mutex and std::condition_variable,
// which the compiler's win32 thread model (the shipped program's, which the
// 32-bit tests are built with) does not have. GoogleTest takes one given to
// it instead: this one waits on a Win32 event. Included before GoogleTest's
// own headers in every file that uses them.
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : event_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() {
        if (event_) ::CloseHandle(event_);
    }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1
