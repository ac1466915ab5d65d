#include "framework/app_module.h"

namespace framework {

CAppModule::CAppModule() { ::InitializeCriticalSection(&lock_); }

CAppModule::~CAppModule() { ::DeleteCriticalSection(&lock_); }

HRESULT CAppModule::Init(HINSTANCE instance) {
    ::EnterCriticalSection(&lock_);
    instance_ = instance;
    initialised_ = true;
    ::LeaveCriticalSection(&lock_);
    return S_OK;
}

void CAppModule::Term() {
    ::EnterCriticalSection(&lock_);
    initialised_ = false;
    ::LeaveCriticalSection(&lock_);
}

CAppModule& Module() {
    static CAppModule module;
    return module;
}

}  // namespace framework
