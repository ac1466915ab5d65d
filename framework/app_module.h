// The application module object: the instance handle of the program and the
// message loops of its threads.
#pragma once

#include <windows.h>

namespace framework {

class CAppModule {
public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE instance);
    void Term();
    HINSTANCE GetModuleInstance() const { return instance_; }
    bool IsInitialised() const { return initialised_; }

private:
    CRITICAL_SECTION lock_;
    HINSTANCE instance_ = nullptr;
    bool initialised_ = false;
};

// The one module object of the process.
CAppModule& Module();

}  // namespace framework
