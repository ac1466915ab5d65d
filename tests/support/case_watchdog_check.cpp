// Cases for the check that the test programs' watchdog ends a hung program
// and names the hung case, and leaves a case within its limit alone. Run only
// by that check, with a limit of 2 s.
#include <windows.h>

#include <gtest/gtest.h>

TEST(CaseWatchdog, DISABLED_QuickCaseIsLeftAlone) { ::Sleep(1200); }

TEST(CaseWatchdog, DISABLED_HangingCaseIsNamed) {
    ::Sleep(60000);
    ADD_FAILURE() << "the watchdog did not end the program";
}
