#include "framework/app_module.h"

namespace framework {

namespace {

class Lock {
public:
    explicit Lock(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
    ~Lock() { ::LeaveCriticalSection(&section_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& section_;
};

}  // namespace

CAppModule::CAppModule() { ::InitializeCriticalSection(&lock_); }

CAppModule::~CAppModule() { ::DeleteCriticalSection(&lock_); }

HRESULT CAppModule::Init(HINSTANCE instance) {
    Lock lock(lock_);
    instance_ = instance;
    initialised_ = true;
    return S_OK;
}

void CAppModule::Term() {
    Lock lock(lock_);
    loops_.clear();
    initialised_ = false;
}

HINSTANCE CAppModule::GetResourceInstance() const {
    return instance_ ? instance_ : ::GetModuleHandleW(nullptr);
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
    if (!loop) return false;
    Lock lock(lock_);
    return loops_.emplace(::GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop() {
    Lock lock(lock_);
    return loops_.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
    Lock lock(lock_);
    const auto found = loops_.find(threadId);
    return found == loops_.end() ? nullptr : found->second;
}

CAppModule& Module() {
    static CAppModule module;
    return module;
}

}  // namespace framework
