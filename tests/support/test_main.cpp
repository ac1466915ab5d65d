// The main of every test program: GoogleTest's, with a watchdog that names
// the case running when the program ends early: a case that hangs (the
// watchdog then ends the program), or one that aborts or exits. It also fails
// the program when a case leaves COM initialised on the main thread. ctest runs a
// whole program as one test, and with brief output (failures only) nothing
// else would say which case that was; ctest's own time limit would end the
// program before its output is even shown.
#include "framework/handles.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// Seconds one case may take; MARROWDALE_CASE_TIMEOUT sets another limit.
constexpr unsigned long kDefaultLimitSeconds = 120;

class CaseWatchdog : public ::testing::EmptyTestEventListener {
public:
    explicit CaseWatchdog(unsigned long limitSeconds) : limitSeconds_(limitSeconds) {
        ::InitializeCriticalSection(&lock_);
        // The thread lives as long as the program; only its handle is closed.
        framework::UniqueHandle(::CreateThread(nullptr, 0, &Watch, this, 0, nullptr));
    }
    void OnTestStart(const ::testing::TestInfo& info) override {
        ::EnterCriticalSection(&lock_);
        name_ = std::string(info.test_suite_name()) + "." + info.name();
        ::LeaveCriticalSection(&lock_);
        deadline_ = ::GetTickCount64() + limitSeconds_ * 1000ull;
    }
    void OnTestEnd(const ::testing::TestInfo& info) override {
        deadline_ = 0;
        // Cases share the process now: one that leaves COM initialised on
        // this thread hides a missing CoInitialize from the cases after it.
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(com)) ::CoUninitialize();
        if (com != S_OK) {
            std::printf("[ COM LEFT ] %s.%s left COM initialised on the main thread (0x%08lX)\n",
                        info.test_suite_name(), info.name(), static_cast<unsigned long>(com));
            comLeft_ = true;
        }
    }
    bool ComLeft() const { return comLeft_; }

    // Names the running case, if any, as the program ends with it.
    void ReportUnfinished(const char* how) {
        if (deadline_ == 0) return;
        ::EnterCriticalSection(&lock_);
        std::printf("\n[ ENDED    ] %s %s; the test program ends here.\n", name_.c_str(), how);
        std::fflush(stdout);
        ::LeaveCriticalSection(&lock_);
    }

private:
    static DWORD WINAPI Watch(void* context) {
        auto* self = static_cast<CaseWatchdog*>(context);
        for (;;) {
            ::Sleep(200);
            const ULONGLONG deadline = self->deadline_;
            if (deadline == 0 || ::GetTickCount64() < deadline) continue;
            ::EnterCriticalSection(&self->lock_);
            std::printf("\n[ TIMEOUT  ] %s ran longer than %lu s; the test program ends here.\n",
                        self->name_.c_str(), self->limitSeconds_);
            std::fflush(stdout);
            // Not ExitProcess: the hung case may hold locks that the
            // program's orderly end would wait for.
            ::TerminateProcess(::GetCurrentProcess(), 1);
        }
    }

    const unsigned long limitSeconds_;
    CRITICAL_SECTION lock_;
    std::string name_;
    std::atomic<ULONGLONG> deadline_{0};
    bool comLeft_ = false;
};

// Lives as long as the process, as its thread does.
CaseWatchdog* g_watchdog = nullptr;

void OnExit() { g_watchdog->ReportUnfinished("called exit"); }
void OnAbort(int) {
    g_watchdog->ReportUnfinished("aborted");
    std::_Exit(3);
}

unsigned long CaseLimitSeconds() {
    const wchar_t* text = ::_wgetenv(L"MARROWDALE_CASE_TIMEOUT");
    const unsigned long seconds = text ? std::wcstoul(text, nullptr, 10) : 0;
    return seconds > 0 ? seconds : kDefaultLimitSeconds;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    g_watchdog = new CaseWatchdog(CaseLimitSeconds());
    std::atexit(&OnExit);
    std::signal(SIGABRT, &OnAbort);
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    listeners.Append(g_watchdog);
    int result = RUN_ALL_TESTS();
    if (g_watchdog->ComLeft() && result == 0) result = 1;
    // GoogleTest would delete it as the program ends, while its thread runs.
    listeners.Release(g_watchdog);
    return result;
}
