// Cases for the checks that the test programs' main names a case that hangs,
// aborts, exits or leaves COM initialised, and leaves a case within its time
// limit or one that balances COM alone. Run only by
// those checks, with a limit of 2 s.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CaseWatchdog, DISABLED_QuickCaseIsLeftAlone) { ::Sleep(1200); }

TEST(CaseWatchdog, DISABLED_HangingCaseIsNamed) {
    ::Sleep(60000);
    ADD_FAILURE() << "the watchdog did not end the program";
}

TEST(CaseWatchdog, DISABLED_AbortingCaseIsNamed) { std::abort(); }

TEST(CaseWatchdog, DISABLED_ExitingCaseIsNamed) { std::exit(0); }

TEST(CaseWatchdog, DISABLED_CaseBalancingComIsLeftAlone) {
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    ::CoUninitialize();
}

TEST(CaseWatchdog, DISABLED_CaseLeavingComIsNamed) { EXPECT_TRUE(SUCCEEDED(::CoInitialize(nullptr))); }
