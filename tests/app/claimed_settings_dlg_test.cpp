// The configuration mode's dialog and its one-dialog claim: a start made
// while the dialog waits to close (OK, with a probe that hangs) is never sent
// to it, but gets the claim once the dialog is gone; a start while the
// dialog is open and idle is sent to it.
#include "app/claimed_settings_dlg.h"

#include "framework/thread.h"
#include "tests/support/case_name.h"
#include "tests/support/product_key.h"
#include "tests/ui/dialog_driver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

// Notes when its window has gone, before the claim goes with it.
class WatchedDlg : public CClaimedSettingsDlg {
public:
    using CClaimedSettingsDlg::CClaimedSettingsDlg;
    std::atomic<bool> gone{false};
    void OnFinalMessage(HWND window) override {
        gone = true;
        CClaimedSettingsDlg::OnFinalMessage(window);
    }
};

using Dialog = test_support::Driven<WatchedDlg>;

struct HangingSamples {
    static inline HANDLE release = nullptr;
    static std::vector<std::int32_t> Counts() {
        ::WaitForSingleObject(release, 30000);
        return {2, 4};
    }
};

struct ClaimCase {
    const char* name;
    bool closing;  // OK pressed (and waiting) before the second start
    SettingsClaim::Outcome second;
};

class ClaimedDialogTest : public test_support::OptionsTest, public ::testing::WithParamInterface<ClaimCase> {
protected:
    void SetUp() override { HangingSamples::release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }
    void TearDown() override {
        ::SetEvent(HangingSamples::release);
        ::Sleep(200);
        ::CloseHandle(HangingSamples::release);
    }
};

TEST_P(ClaimedDialogTest, ASecondStartIsSentOnlyToADialogThatStaysOpen) {
    const ClaimCase& c = GetParam();
    display_seam::Api api = display_seam::Current();
    api.probeSampleCounts = &HangingSamples::Counts;
    display_seam::ScopedApi hanging(api);
    auto claim = std::make_unique<SettingsClaim>();
    ASSERT_EQ(claim->ClaimOrShowOpen(), SettingsClaim::Outcome::Claimed);

    std::atomic<int> second{-1};
    std::atomic<bool> secondAfterDialog{false};
    std::unique_ptr<framework::Thread> secondStart;
    Dialog dialog(std::move(claim));
    dialog.awaitAnswers = false;
    test_support::RunDriven<WatchedDlg>(dialog, [&](Dialog& d) {
        if (c.closing) d.Click(IDOK);
        // As a second process would: the claim is the same named objects.
        secondStart = std::make_unique<framework::Thread>([&second, &secondAfterDialog, &d] {
            SettingsClaim other;
            second = static_cast<int>(other.ClaimOrShowOpen());
            secondAfterDialog = d.gone.load();
        });
        d.Pump([&] { return second >= 0 || !::IsWindowVisible(d.m_hWnd); }, 20000);
        if (::IsWindowVisible(d.m_hWnd)) d.Click(IDCANCEL);
    });
    ASSERT_TRUE(secondStart);
    secondStart->Join();
    EXPECT_EQ(second, static_cast<int>(c.second));
    // A start that waited got the claim only once the dialog had let it go.
    if (c.second == SettingsClaim::Outcome::Claimed) {
        EXPECT_TRUE(secondAfterDialog);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ClaimedDialogTest,
    ::testing::Values(ClaimCase{"WhileOkWaits", true, SettingsClaim::Outcome::Claimed},
                      ClaimCase{"WhileOpen", false, SettingsClaim::Outcome::ShownOpen}),
    test_support::CaseName<ClaimCase>);

}  // namespace
