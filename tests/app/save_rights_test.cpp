// Saving as a user who may not write the product key, in the world Windows
// gives a screensaver (built for real: the key's shipped access, the program
// started with a token whose Administrators group is for deny only). OK asks
// once for the rights, the elevated start grants them to this user, and the
// save then goes through; where the user may write already, nothing is
// started and the key's access stays as it was.
#include "config/product.h"
#include "framework/token_user.h"
#include "res/playlist_dialog_ids.h"
#include "res/settings_dialog_ids.h"
#include "tests/support/case_name.h"
#include "tests/support/product_key.h"
#include "tests/support/scratch_key.h"
#include "tests/support/screensaver_process.h"
#include "tests/support/unelevated_world.h"
#include "tests/support/windows_finder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using test_support::KeyAccess;

const wchar_t kCaption[] = L"Marrowdale 3D Screensaver 1.0 Configuration";
const wchar_t kMakerKey[] = L"Software\\Tidewright";

enum class Key { Shipped, Missing, Granted };
enum class Act { SettingsOk, PlaylistOk };

struct RightsCase {
    const char* name;
    Key key;
    bool unelevated;
    Act act;
    bool elevates;  // a second process of the program runs
};

const RightsCase kCases[] = {
    {"SettingsOk", Key::Shipped, true, Act::SettingsOk, true},
    {"PlaylistOk", Key::Shipped, true, Act::PlaylistOk, true},
    {"KeyMissing", Key::Missing, true, Act::SettingsOk, true},
    {"KeyGranted", Key::Granted, true, Act::SettingsOk, false},
    {"FullToken", Key::Shipped, false, Act::SettingsOk, false},
};

void Click(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

class UnelevatedWorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        makerAccess_ = KeyAccess(kMakerKey);
        // The maker's key as an installer leaves it, so that a missing
        // product key cannot be made by the user either.
        test_support::SetKeyAccess(kMakerKey, test_support::kShippedKeyAccess);
    }
    void TearDown() override {
        if (makerAccess_ == L"<missing>") {
            test_support::DeleteKeyTree(HKEY_LOCAL_MACHINE, kMakerKey);
        } else {
            test_support::SetKeyAccess(kMakerKey, makerAccess_);
        }
    }

    std::wstring makerAccess_;
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
};

class SaveRightsTest : public UnelevatedWorldTest, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(SaveRightsTest, OkSavesWithOneConsentWhereTheUserMayNotWrite) {
    const RightsCase& c = GetParam();
    const std::wstring user = framework::CurrentUserSid();
    ASSERT_FALSE(user.empty());
    if (c.key != Key::Missing) {
        test_support::StoreTypedText(L"UsePlaylist", L"2: 1");
        const std::wstring granted = std::wstring(test_support::kShippedKeyAccess) + L"(A;CI;DCLC;;;" + user + L")";
        test_support::SetKeyAccess(product::kKey, c.key == Key::Granted ? granted : test_support::kShippedKeyAccess);
    }
    const std::wstring accessBefore = KeyAccess(product::kKey);

    framework::UniqueHandle token;
    if (c.unelevated) {
        token = test_support::UnelevatedToken();
        ASSERT_TRUE(token);
    }
    test_support::JobbedProcess scr = test_support::StartScreensaverWith(token.Get(), L"/c");
    ASSERT_TRUE(scr.process);
    const HWND dialog = test_support::WaitForTopLevelWindow(L"#32770", kCaption, 60000, scr.id);
    ASSERT_NE(dialog, nullptr) << "no settings dialog";
    ::WaitForInputIdle(scr.process.Get(), 30000);
    test_support::PumpMessagesFor(500);

    if (c.act == Act::SettingsOk) {
        Click(dialog, IDC_ENABLE_MUSIC);
        test_support::PumpMessagesFor(200);
        Click(dialog, IDOK);
    } else {
        Click(dialog, IDC_EDIT_PLAYLIST);
        const HWND playlist = test_support::WaitForTopLevelWindow(L"#32770", L"Playlist", 30000, scr.id);
        ASSERT_NE(playlist, nullptr) << "no playlist dialog";
        test_support::PumpMessagesFor(300);
        Click(playlist, IDOK);
        for (int i = 0; i < 600 && ::IsWindow(playlist); ++i) test_support::PumpMessagesFor(50);
        EXPECT_FALSE(::IsWindow(playlist)) << "the playlist dialog stayed open";
        Click(dialog, IDCANCEL);
    }
    EXPECT_EQ(test_support::ExitCodeAfter(scr.process, 60000), 0);

    // Wine may start a helper of its own in the job now and then.
    if (c.elevates) {
        EXPECT_GE(scr.ProcessesStarted(), 2u) << "no elevated start";
    } else {
        EXPECT_EQ(scr.ProcessesStarted(), 1u) << "a process was started";
    }
    const test_support::RawValues stored = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    if (c.act == Act::SettingsOk) {
        ASSERT_EQ(stored.count(L"DisableMusic"), 1u) << "the settings were not saved";
        EXPECT_EQ(test_support::UnterminatedText(stored.at(L"DisableMusic")), L"2: 1");
    } else {
        EXPECT_EQ(stored.count(L"PlayList"), 1u) << "the playlist was not saved";
    }
    const std::wstring accessAfter = KeyAccess(product::kKey);
    if (c.elevates) {
        EXPECT_NE(accessAfter.find(user), std::wstring::npos) << std::string(accessAfter.begin(), accessAfter.end());
    } else {
        EXPECT_EQ(accessAfter, accessBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(Worlds, SaveRightsTest, ::testing::ValuesIn(kCases), test_support::CaseName<RightsCase>);

// The elevated mode itself: only a user's own account is ever granted, and
// only the product key's access changes.
struct GrantCase {
    const char* name;
    const wchar_t* argument;  // "{user}" stands for this user's SID
    long exitCode;
};

const GrantCase kGrants[] = {
    {"User", L"{user}", ERROR_SUCCESS},
    {"Everyone", L"S-1-1-0", ERROR_INVALID_PARAMETER},
    {"NotASid", L"S-1-x", ERROR_INVALID_SID},
    {"TwoSids", L"{user} S-1-1-0", ERROR_INVALID_PARAMETER},
};

class GrantModeTest : public UnelevatedWorldTest, public ::testing::WithParamInterface<GrantCase> {};

TEST_P(GrantModeTest, GrantsOnlyAUserAndOnlyTheProductKey) {
    const GrantCase& c = GetParam();
    const std::wstring user = framework::CurrentUserSid();
    test_support::SetKeyAccess(product::kKey, test_support::kShippedKeyAccess);
    const std::wstring before = KeyAccess(product::kKey);
    std::wstring argument = c.argument;
    for (size_t at = argument.find(L"{user}"); at != std::wstring::npos; at = argument.find(L"{user}")) {
        argument.replace(at, 6, user);
    }
    test_support::JobbedProcess scr =
        test_support::StartScreensaverWith(nullptr, std::wstring(product::kGrantSwitch) + L" " + argument);
    ASSERT_TRUE(scr.process);
    EXPECT_EQ(test_support::ExitCodeAfter(scr.process, 30000), c.exitCode);
    const std::wstring after = KeyAccess(product::kKey);
    if (c.exitCode == ERROR_SUCCESS) {
        EXPECT_NE(after.find(L"(A;CI;DCLC;;;" + user + L")"), std::wstring::npos)
            << std::string(after.begin(), after.end());
    } else {
        EXPECT_EQ(after, before);
    }
    EXPECT_EQ(KeyAccess(kMakerKey), test_support::kShippedKeyAccess);
    EXPECT_EQ(scr.ProcessesStarted(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Arguments, GrantModeTest, ::testing::ValuesIn(kGrants), test_support::CaseName<GrantCase>);

}  // namespace
