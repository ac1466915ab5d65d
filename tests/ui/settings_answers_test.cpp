// The dialog shows before the hardware answers: a user who acts before they
// come gets what the same action gives once they are there; a probe that
// throws still lets every answer come; an inventory let go never reaches a
// closed dialog; the monitor list's texts are looked up by the dialog's
// thread.
#include "ui/settings_dlg.h"

#include "config/product.h"
#include "i18n/string_table.h"
#include "tests/support/case_name.h"
#include "tests/support/product_key.h"
#include "tests/support/stub_wallpaper.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/held_probes.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

using test_support::StoreTypedText;
using Dialog = test_support::Driven<CSettingsDlg>;

using test_support::Held;
using test_support::HeldProbes;
using AnswersTest = test_support::HeldProbesTest;

DWORD WINAPI ReleaseLater(void*) {
    ::Sleep(400);
    ::SetEvent(HeldProbes::release);
    return 0;
}

// Every control of the dialog as the user sees it.
std::vector<std::wstring> Look(Dialog& d) {
    std::vector<std::wstring> look;
    for (int id : {IDC_MONITOR_LIST, IDC_BLANK_SCREENS, IDC_EXIT_ON_MOUSE_MOVE, IDC_ANTIALIASING,
                   IDC_ANTIALIASING_QUALITY, IDC_ANTIALIASING_QUALITY_LABEL, IDC_RUN_AT_STARTUP, IDC_ENABLE_MUSIC,
                   IDC_MUSIC_VOLUME, IDC_MUSIC_VOLUME_LABEL, IDC_PLAY_MY_MUSIC, IDC_EDIT_PLAYLIST, IDC_ENABLE_SOUNDS,
                   IDC_SOUNDS_VOLUME, IDC_SOUNDS_VOLUME_LABEL}) {
        const HWND control = d.GetDlgItem(id);
        wchar_t name[32] = {};
        ::GetClassNameW(control, name, 32);
        std::wstring state = std::to_wstring(id) + (d.Enabled(id) ? L" on" : L" off");
        if (std::wstring(name) == L"Button") state += L" check " + std::to_wstring(d.Checked(id));
        if (std::wstring(name) == L"ComboBox") {
            for (const std::wstring& entry : d.Entries(id)) state += L" [" + entry + L"]";
            state += L" selected " + std::to_wstring(d.Selected(id));
        }
        if (std::wstring(name) == TRACKBAR_CLASSW) {
            state += L" at " + std::to_wstring(::SendMessageW(control, TBM_GETPOS, 0, 0));
        }
        look.push_back(state + L" " + d.Text(id));
    }
    return look;
}

struct Outcome {
    bool pendingAtFirst = false;
    std::vector<std::wstring> look;
    test_support::RawValues key;
    std::vector<test_support::WallpaperPost> posts;
};

// OK and Restore Defaults wait, busy, for the answers; Close acts at once
// on what the key holds, which needs no answer.
void Close(Dialog& d) { d.SendMessage(WM_CLOSE); }
void Ok(Dialog& d) { d.Click(IDOK); }
void RestoreDefaults(Dialog& d) { d.Click(IDC_RESTORE_DEFAULTS); }

struct ActCase {
    const char* name;
    bool firstRun;  // else a key that holds what the probes decide
    void (*act)(Dialog&);
    bool closes;  // else the look is taken, and OK stores the tree
    const wchar_t* storedMonitor;  // CurMonitor in the key at the end
};

const ActCase kActs[] = {
    {"OkFirstRun", true, &Ok, true, L"2: 0"},
    {"OkStoredKey", false, &Ok, true, L"2: 1"},
    {"CloseStoredKey", false, &Close, true, L"2: 1"},
    {"RestoreDefaultsFirstRun", true, &RestoreDefaults, false, L"2: 0"},
    {"RestoreDefaultsStoredKey", false, &RestoreDefaults, false, L"2: 1"},
};

class ActBeforeAnswersTest : public AnswersTest, public ::testing::WithParamInterface<ActCase> {
protected:
    void StoreKey(const ActCase& c) {
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, product::kKey, KEY_WOW64_64KEY, 0);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName);
        // A stored monitor the inventory does not have: both ways correct it.
        StoreTypedText(L"CurMonitor", c.firstRun ? L"2: 5" : L"2: 1");
        StoreTypedText(L"MusicVolumePercentage", L"2: 40");
        if (c.firstRun) return;
        StoreTypedText(L"EnableMultiMonitorMode", L"2: 0");
        StoreTypedText(L"HighQualityTextures", L"2: 0");
        StoreTypedText(L"HighQualityGraphics", L"2: 1");
        StoreTypedText(L"Antialiasing", L"2: 4");
    }

    Outcome Run(const ActCase& c, bool beforeAnswers) {
        StoreKey(c);
        HeldProbes::held = beforeAnswers ? Held::All : Held::Nothing;
        ::ResetEvent(HeldProbes::release);
        Outcome outcome;
        test_support::StubWallpaper wallpaper;
        Dialog dialog;
        dialog.awaitAnswers = !beforeAnswers;
        test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
            outcome.pendingAtFirst = d.Entries(IDC_MONITOR_LIST).empty() && !d.Enabled(IDC_MONITOR_LIST) &&
                                     d.Entries(IDC_ANTIALIASING_QUALITY).empty();
            HANDLE opener = beforeAnswers ? ::CreateThread(nullptr, 0, &ReleaseLater, nullptr, 0, nullptr) : nullptr;
            c.act(d);
            const auto shown = [&d] { return d.m_hWnd && ::IsWindowVisible(d.m_hWnd); };
            d.Pump([&] { return !shown() || d.Enabled(IDOK); }, 20000);
            if (!c.closes) {
                outcome.look = Look(d);
                d.Click(IDOK);
            }
            d.Pump([&] { return !shown(); }, 20000);
            if (opener) {
                ::WaitForSingleObject(opener, 10000);
                ::CloseHandle(opener);
            }
        });
        wallpaper.Close();
        outcome.posts = wallpaper.Received();
        outcome.key = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
        const test_support::RawValues run = test_support::ReadRawValues(HKEY_CURRENT_USER, kRunKey);
        if (run.count(kRunValueName)) outcome.key[L"<Run>"] = run.at(kRunValueName);
        return outcome;
    }
};

TEST_P(ActBeforeAnswersTest, EndsAsWithTheAnswersThere) {
    const ActCase& c = GetParam();
    const Outcome before = Run(c, true);
    const Outcome after = Run(c, false);
    EXPECT_TRUE(before.pendingAtFirst) << "the hardware controls were filled before the answers came";
    EXPECT_FALSE(after.pendingAtFirst);
    EXPECT_EQ(before.look, after.look);
    EXPECT_TRUE(before.key == after.key);
    EXPECT_EQ(before.posts, after.posts);
    // The outcome is one that shows the monitors: the same nothing twice proves nothing.
    if (!c.closes) {
        ASSERT_FALSE(after.look.empty());
        EXPECT_NE(after.look.front().find(L"[Monitor 2]"), std::wstring::npos) << after.look.front();
    }
    ASSERT_EQ(after.key.count(L"CurMonitor"), 1u);
    EXPECT_EQ(test_support::UnterminatedText(after.key.at(L"CurMonitor")), c.storedMonitor);
}

INSTANTIATE_TEST_SUITE_P(Acts, ActBeforeAnswersTest, ::testing::ValuesIn(kActs),
                         test_support::CaseName<ActCase>);

// An exception on the inventory's thread (no memory for a monitor's name)
// ends its work like a failure: the video-memory probe that waits for the
// inventory (a first run) still goes on, and every answer comes.
BOOL WINAPI ThrowingMonitorInfo(HMONITOR, LPMONITORINFO) { throw std::bad_alloc(); }

TEST_F(AnswersTest, AnInventoryThatThrowsStillLetsEveryAnswerCome) {
    display_seam::Api api = display_seam::Current();
    api.getMonitorInfo = &ThrowingMonitorInfo;
    display_seam::ScopedApi throwing(api);
    bool shown = false;
    std::vector<std::wstring> monitors{L"<not run>"};
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        // The driver has let the answers come, for 20 s at most.
        shown = d.HardwareAnswersShown();
        monitors = d.Entries(IDC_MONITOR_LIST);
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(shown) << "an answer never came";
    EXPECT_TRUE(monitors.empty());
}

// The list's texts are looked up when the list is filled, on the dialog's
// thread: a table the dialog installs after its start is the one they come
// from, whatever the inventory's thread did meanwhile.
constexpr char kFrenchMonitor[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Root>
  <Languages>
    <Language Tag="en" Codepage="1252" Name="English" /><Language Tag="fr" Codepage="1252" Name="Francais" />
  </Languages>
  <TextBlock Tag="Screensaver Settings Dialog">
    <Var Tag="Monitor"><String Lang="en" Text="Monitor" /><String Lang="fr" Text="Moniteur" /></Var>
  </TextBlock>
</Root>)";

class RetranslatedDlg : public CSettingsDlg {
public:
    BOOL InitDialog(HWND focus, LPARAM initParam) override {
        const BOOL result = CSettingsDlg::InitDialog(focus, initParam);
        StringTable& table = StringTable::CreateFromDocument(kFrenchMonitor, std::strlen(kFrenchMonitor));
        table.SelectLanguage(L"fr");
        table.SelectTextBlock(L"Screensaver Settings Dialog");
        return result;
    }
};

TEST_F(AnswersTest, UnnamedMonitorsAreNamedInTheDialogsLanguage) {
    std::vector<std::wstring> monitors;
    test_support::Driven<RetranslatedDlg> dialog;
    test_support::RunDriven<RetranslatedDlg>(dialog, [&](test_support::Driven<RetranslatedDlg>& d) {
        monitors = d.Entries(IDC_MONITOR_LIST);
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(monitors, (std::vector<std::wstring>{L"Moniteur 1", L"Moniteur 2", L"Multi-monitor"}));
}

// The dialog's device checks, counted. An inventory given up at the time
// limit goes on alone; once the dialog has closed it must not reach them.
struct LateInventory {
    static inline HANDLE release = nullptr;
    static inline HANDLE created = nullptr;  // the held thread has its Direct3D
    static inline DWORD dialogThread = 0;
    static inline display_seam::Api inner;
    static IDirect3D9* WINAPI CreateDirect3D9(UINT version) {
        if (::GetCurrentThreadId() == dialogThread) return inner.createDirect3D9(version);
        ::WaitForSingleObject(release, 60000);
        IDirect3D9* d3d = inner.createDirect3D9(version);
        ::SetEvent(created);
        return d3d;
    }
};

class CheckCountingDialog : public Dialog {
public:
    HRESULT ConfirmDevice(const D3DCAPS9&, DWORD, D3DFORMAT) override {
        ++checks;
        return S_OK;
    }
    std::atomic<int> checks{0};
};

struct LateCase {
    const char* name;
    bool answerBeforeClose;  // the control: the checks reach an open dialog
    bool checksReachTheDialog;
};

class LateInventoryTest : public AnswersTest, public ::testing::WithParamInterface<LateCase> {};

TEST_P(LateInventoryTest, AnInventoryGivenUpNeverReachesAClosedDialog) {
    const ULONG references = d3d_->references();
    LateInventory::release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LateInventory::created = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LateInventory::dialogThread = ::GetCurrentThreadId();
    LateInventory::inner = display_seam::Current();
    display_seam::Api api = LateInventory::inner;
    api.createDirect3D9 = &LateInventory::CreateDirect3D9;
    display_seam::ScopedApi late(api);
    CheckCountingDialog dialog;
    dialog.awaitAnswers = false;
    test_support::RunDriven<CSettingsDlg>(dialog, [this](Dialog& d) {
        if (GetParam().answerBeforeClose) ::SetEvent(LateInventory::release);
        d.Click(IDCANCEL);
    });
    ::SetEvent(LateInventory::release);
    // The inventory's thread has ended once it took Direct3D and let it go.
    ASSERT_EQ(::WaitForSingleObject(LateInventory::created, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    for (int i = 0; i < 500 && d3d_->references() != references; ++i) ::Sleep(20);
    EXPECT_EQ(d3d_->references(), references);
    EXPECT_EQ(dialog.checks > 0, GetParam().checksReachTheDialog);
    ::CloseHandle(LateInventory::release);
    ::CloseHandle(LateInventory::created);
}

INSTANTIATE_TEST_SUITE_P(Cases, LateInventoryTest,
                         ::testing::Values(LateCase{"AnsweredWhileOpen", true, true},
                                           LateCase{"AnsweredAfterClose", false, false}),
                         test_support::CaseName<LateCase>);

}  // namespace
