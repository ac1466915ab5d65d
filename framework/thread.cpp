#include "framework/thread.h"

#include <utility>

namespace framework {

Thread::Thread(std::function<void()> work) : work_(std::move(work)) {
    handle_.Reset(::CreateThread(nullptr, 0, &Thread::Run, this, 0, nullptr));
}

void Thread::Join() {
    if (!handle_) return;
    ::WaitForSingleObject(handle_.Get(), INFINITE);
    handle_.Reset();
}

DWORD WINAPI Thread::Run(void* self) {
    // No exception may leave a thread procedure: the process would end with
    // no word of why.
    try {
        static_cast<Thread*>(self)->work_();
    } catch (...) {
        return 1;
    }
    return 0;
}

}  // namespace framework
