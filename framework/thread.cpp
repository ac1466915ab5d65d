#include "framework/thread.h"

#include <utility>

namespace framework {

namespace {

using SharedWork = std::shared_ptr<std::function<void()>>;

}  // namespace

Thread::Thread(std::function<void()> work) {
    // The thread owns its work, so that an abandoned thread never runs
    // freed code or data.
    auto* share = new SharedWork(std::make_shared<std::function<void()>>(std::move(work)));
    handle_.Reset(::CreateThread(nullptr, 0, &Thread::Run, share, 0, nullptr));
    if (!handle_) delete share;
}

void Thread::Join() { Join(INFINITE); }

bool Thread::Join(DWORD milliseconds) {
    if (!handle_) return true;
    if (::WaitForSingleObject(handle_.Get(), milliseconds) != WAIT_OBJECT_0) return false;
    handle_.Reset();
    return true;
}

DWORD WINAPI Thread::Run(void* work) {
    const std::unique_ptr<SharedWork> share(static_cast<SharedWork*>(work));
    // No exception may leave a thread procedure: the process would end with
    // no word of why.
    try {
        (**share)();
    } catch (...) {
        return 1;
    }
    return 0;
}

}  // namespace framework
