// The application module object: the instance handle of the program and the
// message loops of its threads.
#pragma once

#include <windows.h>

#include <map>

namespace framework {

class CMessageLoop;

class CAppModule {
public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE instance);
    void Term();
    HINSTANCE GetModuleInstance() const { return instance_; }
    // Where dialog templates and window classes come from: the module given
    // to Init, else the program's own file.
    HINSTANCE GetResourceInstance() const;
    bool IsInitialised() const { return initialised_; }

    // One loop per thread: false when the thread has one already.
    bool AddMessageLoop(CMessageLoop* loop);
    // False when the thread has none.
    bool RemoveMessageLoop();
    // The loop of the thread, or null.
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    // Guards the loop table: any thread may ask for another thread's loop.
    mutable CRITICAL_SECTION lock_;
    HINSTANCE instance_ = nullptr;
    bool initialised_ = false;
    std::map<DWORD, CMessageLoop*> loops_;
};

// The one module object of the process.
CAppModule& Module();

}  // namespace framework
