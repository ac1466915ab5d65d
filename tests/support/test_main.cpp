// The main of every test program: GoogleTest's, with a watchdog that ends the
// program when one case runs too long, naming that case. ctest runs a whole
// program as one test; its own time limit would end the program without a
// word about which case hung, and before the program's output is shown.
#include "framework/handles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
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
    void OnTestEnd(const ::testing::TestInfo&) override { deadline_ = 0; }

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
};

unsigned long CaseLimitSeconds() {
    const wchar_t* text = ::_wgetenv(L"MARROWDALE_CASE_TIMEOUT");
    const unsigned long seconds = text ? std::wcstoul(text, nullptr, 10) : 0;
    return seconds > 0 ? seconds : kDefaultLimitSeconds;
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Lives as long as the process, as its thread does: GoogleTest gives it
    // back before it would delete it, and nothing deletes it.
    auto* watchdog = new CaseWatchdog(CaseLimitSeconds());
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    listeners.Append(watchdog);
    const int result = RUN_ALL_TESTS();
    listeners.Release(watchdog);
    return result;
}
