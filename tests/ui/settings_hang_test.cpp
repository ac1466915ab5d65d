// A probe that hangs on every thread, the dialog's own included: every way
// out of the dialog ends within the time limit, and the key then holds what
// the same way out stores with every answer there, except the values the
// hanging probe decides, which keep what the key held (or stay absent).
#include "ui/settings_dlg.h"

#include "config/product.h"
#include "tests/support/case_name.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/product_key.h"
#include "tests/ui/dialog_driver.h"
#include "tests/ui/held_probes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using test_support::HeldProbesTest;
using test_support::RawValues;
using test_support::StoreTypedText;
using Dialog = test_support::Driven<CSettingsDlg>;

using test_support::Held;
using test_support::HeldProbes;

bool Shown(Dialog& d) { return d.m_hWnd && ::IsWindowVisible(d.m_hWnd); }

// Every act ends the dialog; those that leave it open go on with OK once
// the dialog takes clicks again.
void Ok(Dialog& d) { d.Click(IDOK); }
void Cancel(Dialog& d) { d.Click(IDCANCEL); }
void Close(Dialog& d) { d.SendMessage(WM_CLOSE); }
void ThenOk(Dialog& d) {
    d.Pump([&] { return !Shown(d) || d.Enabled(IDOK); }, 30000);
    if (Shown(d)) d.Click(IDOK);
}
void RestoreDefaults(Dialog& d) {
    d.Click(IDC_RESTORE_DEFAULTS);
    ThenOk(d);
}
// The second monitor, as far as the list offers it.
void SwitchMonitor(Dialog& d) {
    d.Choose(IDC_MONITOR_LIST, 1);
    ThenOk(d);
}
void EditPlaylist(Dialog& d) {
    test_support::DialogWatcher playlist(
        [](HWND dialog) { return framework::CWindow(dialog).GetWindowText() == L"Playlist"; },
        [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
    d.Click(IDC_EDIT_PLAYLIST);
    EXPECT_TRUE(playlist.Stop()) << "no playlist dialog";
    ThenOk(d);
}

constexpr const wchar_t* kTiers[] = {L"HighQualityTextures", L"HighQualityGraphics", L"Antialiasing"};
constexpr const wchar_t* kAntialiasing[] = {L"Antialiasing"};

struct HangCase {
    const char* name;
    Held hangs;
    bool firstRun;  // else the key holds every setting
    void (*act)(Dialog&);
    // The values that the hanging probe decides.
    std::vector<const wchar_t*> unanswered;
};

const HangCase kCases[] = {
    {"OkDirect3DStoredKey", Held::Direct3D, false, &Ok, {}},
    {"OkVideoMemoryFirstRun", Held::VideoControllers, true, &Ok, {std::begin(kTiers), std::end(kTiers)}},
    {"OkSampleCountsStoredKey", Held::SampleCounts, false, &Ok, {std::begin(kAntialiasing), std::end(kAntialiasing)}},
    {"CancelSampleCountsStoredKey", Held::SampleCounts, false, &Cancel, {}},
    {"CloseDirect3DStoredKey", Held::Direct3D, false, &Close, {}},
    // The template has no high-quality boxes: OK stores them as unchecked,
    // answered or not. Antialiasing keeps the key's value instead of the tier.
    {"RestoreDefaultsVideoMemoryStoredKey", Held::VideoControllers, false, &RestoreDefaults,
     {std::begin(kAntialiasing), std::end(kAntialiasing)}},
    {"MonitorSwitchDirect3DStoredKey", Held::Direct3D, false, &SwitchMonitor, {}},
    {"EditPlaylistVideoMemoryFirstRun", Held::VideoControllers, true, &EditPlaylist,
     {std::begin(kTiers), std::end(kTiers)}},
};

class HangingProbeTest : public test_support::HeldProbesTest, public ::testing::WithParamInterface<HangCase> {
protected:
    void StoreKey(bool firstRun) {
        ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, product::kKey, KEY_WOW64_64KEY, 0);
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kRunValueName);
        StoreTypedText(L"CurMonitor", L"2: 1");
        StoreTypedText(L"MusicVolumePercentage", L"2: 40");
        StoreTypedText(L"UsePlaylist", L"2: 1");
        if (firstRun) return;
        StoreTypedText(L"EnableMultiMonitorMode", L"2: 0");
        StoreTypedText(L"HighQualityTextures", L"2: 1");
        StoreTypedText(L"HighQualityGraphics", L"2: 1");
        StoreTypedText(L"Antialiasing", L"2: 4");
    }

    struct Outcome {
        RawValues stored;  // before the dialog
        RawValues key;     // after it, with the Run value as "<Run>"
        DWORD took = 0;    // from the act until the dialog was gone
    };

    Outcome Run(const HangCase& c, Held hangs) {
        StoreKey(c.firstRun);
        Outcome outcome;
        outcome.stored = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
        HeldProbes::held = hangs;
        Dialog dialog;
        dialog.awaitAnswers = hangs == Held::Nothing;
        test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
            const DWORD start = ::GetTickCount();
            c.act(d);
            d.Pump([&] { return !Shown(d); }, 40000);
            outcome.took = ::GetTickCount() - start;
        });
        outcome.key = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
        const RawValues run = test_support::ReadRawValues(HKEY_CURRENT_USER, kRunKey);
        if (run.count(kRunValueName)) outcome.key[L"<Run>"] = run.at(kRunValueName);
        return outcome;
    }
};

std::vector<std::wstring> Describe(const RawValues& values) {
    std::vector<std::wstring> lines;
    for (const auto& [name, value] : values) lines.push_back(name + L" = " + test_support::UnterminatedText(value));
    return lines;
}

TEST_P(HangingProbeTest, EveryWayOutEndsInTimeAndStoresOnlyWhatWasAnswered) {
    const HangCase& c = GetParam();
    const Outcome complete = Run(c, Held::Nothing);
    const Outcome hung = Run(c, c.hangs);

    RawValues expected = complete.key;
    for (const wchar_t* name : c.unanswered) {
        if (hung.stored.count(name)) {
            expected[name] = hung.stored.at(name);
        } else {
            expected.erase(name);
        }
    }
    EXPECT_LT(hung.took, kProbeTimeLimit + 2000) << "the way out waited past the time limit";
    EXPECT_EQ(Describe(hung.key), Describe(expected));
}

INSTANTIATE_TEST_SUITE_P(WaysOut, HangingProbeTest, ::testing::ValuesIn(kCases), test_support::CaseName<HangCase>);

// An answer that comes after a way out gave up waiting for it still fills
// the controls while the dialog is open.
TEST_F(HeldProbesTest, AnAnswerAfterTheGiveUpFillsTheControls) {
    HeldProbes::held = Held::Direct3D;
    std::vector<std::wstring> before{L"<not run>"}, after;
    bool enabled = false;
    Dialog dialog;
    dialog.awaitAnswers = false;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        d.Click(IDC_RESTORE_DEFAULTS);
        d.Pump([&] { return d.Enabled(IDOK); }, 30000);
        before = d.Entries(IDC_MONITOR_LIST);
        ::SetEvent(HeldProbes::release);
        d.Pump([&] { return !d.Entries(IDC_MONITOR_LIST).empty(); }, 10000);
        after = d.Entries(IDC_MONITOR_LIST);
        enabled = d.Enabled(IDC_MONITOR_LIST);
        d.Click(IDCANCEL);
    });
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(after, (std::vector<std::wstring>{L"Monitor 1", L"Monitor 2", L"Multi-monitor"}));
    EXPECT_TRUE(enabled);
}

}  // namespace
