// Cases for the checks that the test programs' main names a case that hangs,
// aborts or exits, and leaves a case within its time limit alone. Run only by
// those checks, with a limit of 2 s.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CaseWatchdog, DISABLED_QuickCaseIsLeftAlone) { ::Sleep(1200); }

TEST(CaseWatchdog, DISABLED_HangingCaseIsNamed) {
    ::Sleep(60000);
    ADD_FAILURE() << "the watchdog did not end the program";
}

TEST(CaseWatchdog, DISABLED_AbortingCaseIsNamed) { std::abort(); }

TEST(CaseWatchdog, DISABLED_ExitingCaseIsNamed) { std::exit(0); }
