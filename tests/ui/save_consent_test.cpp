// OK where this user may not write the product key (the dialog's thread runs
// with a token whose Administrators group is for deny only, against the key's
// shipped access) asks for consent once; declined, the error box shows and
// the dialog stays with the user's values, nothing written. The control: the
// same OK with the full token asks nothing and saves. The playlist dialog's
// OK goes through the same rights (the process tests save with it).
#include "ui/settings_dlg.h"

#include "tests/support/case_name.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/product_key.h"
#include "tests/support/screenshot.h"
#include "tests/support/unelevated_world.h"
#include "tests/ui/dialog_driver.h"
#include "ui/ui_seam.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Dialog = test_support::Driven<CSettingsDlg>;

// Windows' consent prompt, declined: what ShellExecuteExW then answers.
struct DeclinedConsent {
    static inline int asked = 0;
    static inline std::wstring verb, parameters, className;
    static BOOL WINAPI Decline(SHELLEXECUTEINFOW* execute) {
        ++asked;
        verb = execute->lpVerb ? execute->lpVerb : L"";
        parameters = execute->lpParameters ? execute->lpParameters : L"";
        className = (execute->fMask & SEE_MASK_CLASSNAME) && execute->lpClass ? execute->lpClass : L"";
        ::SetLastError(ERROR_CANCELLED);
        return FALSE;
    }
};

struct ConsentCase {
    const char* name;
    bool unelevated;  // else the full token: the control, which writes
};

class ConsentTest : public test_support::OptionsTest, public ::testing::WithParamInterface<ConsentCase> {
protected:
    void SetUp() override {
        test_support::SetKeyAccess(product::kKey, test_support::kShippedKeyAccess);
        DeclinedConsent::asked = 0;
    }
    void TearDown() override { ::RevertToSelf(); }
};

TEST_P(ConsentTest, ADeclinedConsentKeepsTheDialogAndWritesNothing) {
    const ConsentCase& c = GetParam();
    ui_seam::Api api;
    api.shellExecuteEx = &DeclinedConsent::Decline;
    ui_seam::ScopedApi seam(api);
    const test_support::RawValues before = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    if (c.unelevated) {
        const framework::UniqueHandle token = test_support::UnelevatedToken();
        ASSERT_TRUE(token);
        ASSERT_TRUE(::ImpersonateLoggedOnUser(token.Get()));
    }

    test_support::MessageBoxWatcher box;
    bool stayedOpen = false;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        d.Click(IDC_ENABLE_MUSIC);
        if (c.unelevated) {
            // For people: the shield on OK.
            d.Pump([] { return false; }, 300);
            test_support::SaveWindowPicture(d.m_hWnd, test_support::ScreenshotPath(L"settings-en-unelevated.png"));
        }
        d.Click(IDOK);
        const auto shown = [&d] { return d.m_hWnd && ::IsWindowVisible(d.m_hWnd); };
        d.Pump([&] { return !shown() || (DeclinedConsent::asked > 0 && d.Enabled(IDOK)); }, 20000);
        d.Pump([] { return false; }, 300);
        stayedOpen = shown();
        if (stayedOpen) d.Click(IDCANCEL);
    });
    ::RevertToSelf();
    const test_support::SeenMessageBox seen = box.Stop();
    const test_support::RawValues after = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);

    EXPECT_EQ(DeclinedConsent::asked, c.unelevated ? 1 : 0);
    EXPECT_EQ(seen.shown, c.unelevated);
    // Declined: nothing written, and the dialog waits for another OK or a Cancel.
    EXPECT_EQ(after == before, c.unelevated);
    EXPECT_EQ(stayedOpen, c.unelevated);
    if (c.unelevated) {
        EXPECT_EQ(DeclinedConsent::verb, L"runas");
        EXPECT_EQ(DeclinedConsent::className, L"exefile");
        EXPECT_EQ(DeclinedConsent::parameters.rfind(std::wstring(product::kGrantSwitch) + L" S-1-", 0), 0u)
            << std::string(DeclinedConsent::parameters.begin(), DeclinedConsent::parameters.end());
    }
}

INSTANTIATE_TEST_SUITE_P(Tokens, ConsentTest,
                         ::testing::Values(ConsentCase{"Unelevated", true}, ConsentCase{"FullToken", false}),
                         test_support::CaseName<ConsentCase>);

}  // namespace
