// The monitor group of the settings dialog against a made-up display system:
// the monitor list and the blank-screen box of the program's template, and
// the resolution list and desktop-resolution box through a test template that
// has them. Every choice goes into the tree at once; OK stores it.
#include "ui/settings_dlg.h"

#include "config/node.h"
#include "tests/display/fake_display.h"
#include "tests/support/case_name.h"
#include "tests/ui/dialog_driver.h"
#include "tests/support/product_key.h"
#include "tests/ui/resolution_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using test_support::StoredTypedText;
using test_support::StoreTypedText;
using Dialog = test_support::Driven<CSettingsDlg>;
using ResolutionDialog = test_support::Driven<CResolutionSettingsDlg>;
using Stored = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

void Store(const Stored& values) {
    for (const auto& [name, text] : values) StoreTypedText(name, text);
}

int Setting(CSettingsDlgBase& dialog, const char* name) { return dialog.Settings().Get(name).AsInt(); }

// A display system of `monitors` adapters, each with four modes and its own
// monitor (named "Monitor 1", ... by the dialog); no Direct3D at all for 0.
class MonitorGroupTest : public test_support::OptionsTest {
protected:
    void Install(int monitors, UINT groupSize = 1) {
        std::vector<fake_display::Adapter> adapters;
        for (int i = 0; i < monitors; ++i) {
            fake_display::Adapter adapter;
            adapter.modes = fake_display::Modes({{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}});
            adapter.monitor = fake_display::MonitorHandle(i);
            adapter.groupSize = groupSize;
            adapters.push_back(adapter);
        }
        d3d_ = std::make_unique<fake_display::Direct3D9>(adapters);
        fake_ = std::make_unique<fake_display::Installed>(monitors ? d3d_.get() : nullptr, fake_display::Monitors{},
                                                          test_support::QuickProbes());
    }

    std::unique_ptr<fake_display::Direct3D9> d3d_;
    std::unique_ptr<fake_display::Installed> fake_;
};

struct FillCase {
    const char* name;
    int monitors;
    UINT groupSize;
    Stored stored;
    std::vector<std::wstring> entries;
    int selected;
    bool listEnabled;
    bool blankEnabled;
    bool blankChecked;
    Stored okStores;
};

class MonitorFillTest : public MonitorGroupTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(MonitorFillTest, ShowsTheMonitorsAndTheChoice) {
    const FillCase& c = GetParam();
    Install(c.monitors, c.groupSize);
    Store(c.stored);
    std::vector<std::wstring> entries;
    int selected = -2;
    bool listEnabled = !c.listEnabled, blankEnabled = !c.blankEnabled, blankChecked = !c.blankChecked;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        entries = d.Entries(IDC_MONITOR_LIST);
        selected = d.Selected(IDC_MONITOR_LIST);
        listEnabled = d.Enabled(IDC_MONITOR_LIST);
        blankEnabled = d.Enabled(IDC_BLANK_SCREENS);
        blankChecked = d.Checked(IDC_BLANK_SCREENS);
        d.Click(IDOK);
    });
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(listEnabled, c.listEnabled);
    EXPECT_EQ(blankEnabled, c.blankEnabled);
    EXPECT_EQ(blankChecked, c.blankChecked);
    for (const auto& [name, text] : c.okStores) EXPECT_EQ(StoredTypedText(name), text) << name;
}

const std::vector<std::wstring> kTwo = {L"Monitor 1", L"Monitor 2"};
const std::vector<std::wstring> kTwoAndMulti = {L"Monitor 1", L"Monitor 2", L"Multi-monitor"};

INSTANTIATE_TEST_SUITE_P(
    Inventories, MonitorFillTest,
    ::testing::Values(
        FillCase{"OneMonitor", 1, 1, {}, {L"Monitor 1"}, 0, false, false, true, {}},
        FillCase{"TwoInAGroupMultiMonitorOn", 2, 2, {{L"EnableMultiMonitorMode", L"2: 1"}, {L"CurMonitor", L"2: 1"}},
                 kTwoAndMulti, 2, true, true, true, {{L"EnableMultiMonitorMode", L"2: 1"}}},
        FillCase{"TwoInAGroupMultiMonitorOff", 2, 2, {{L"EnableMultiMonitorMode", L"2: 0"}, {L"CurMonitor", L"2: 1"}},
                 kTwoAndMulti, 1, true, true, true, {{L"CurMonitor", L"2: 1"}}},
        // No group: no multi-monitor entry, and the stored mode is kept as it is.
        FillCase{"TwoWithoutAGroup", 2, 1, {{L"EnableMultiMonitorMode", L"2: 1"}, {L"CurMonitor", L"2: 1"}}, kTwo, 1,
                 true, true, true, {{L"EnableMultiMonitorMode", L"2: 1"}, {L"CurMonitor", L"2: 1"}}},
        FillCase{"BlankScreensOff", 2, 1, {{L"ShowBlackScreens", L"2: 0"}}, kTwo, 0, true, true, false,
                 {{L"ShowBlackScreens", L"2: 0"}}},
        FillCase{"StoredMonitorGone", 2, 2, {{L"EnableMultiMonitorMode", L"2: 0"}, {L"CurMonitor", L"2: 5"}},
                 kTwoAndMulti, 0, true, true, true, {{L"CurMonitor", L"2: 0"}}},
        FillCase{"NoDirect3D", 0, 1, {}, {}, -1, false, false, true, {{L"EnableMultiMonitorMode", L"2: 1"}}}),
    test_support::CaseName<FillCase>);

TEST_F(MonitorGroupTest, ChoosingMultiMonitorThenOneMonitor) {
    Install(2, 2);
    Store({{L"EnableMultiMonitorMode", L"2: 0"}, {L"CurMonitor", L"2: 1"}});
    std::vector<std::pair<int, int>> modeAndMonitor;
    std::vector<bool> blankEnabled;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        for (int entry : {2, 1}) {
            d.Choose(IDC_MONITOR_LIST, entry);
            modeAndMonitor.emplace_back(Setting(d, "EnableMultiMonitorMode"), Setting(d, "CurMonitor"));
            blankEnabled.push_back(d.Enabled(IDC_BLANK_SCREENS));
        }
        d.Choose(IDC_MONITOR_LIST, 2);
        d.Click(IDOK);
    });
    EXPECT_EQ(modeAndMonitor, (std::vector<std::pair<int, int>>{{1, 0}, {0, 1}}));
    EXPECT_EQ(blankEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(StoredTypedText(L"EnableMultiMonitorMode"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"CurMonitor"), L"2: 0");
}

TEST_F(MonitorGroupTest, TickingBlankScreensWritesTheTreeAtOnceAndCancelDropsIt) {
    Install(2);
    Store({{L"ShowBlackScreens", L"2: 0"}});
    const test_support::RawValues before = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    std::vector<int> written;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        d.Click(IDC_BLANK_SCREENS);
        written.push_back(Setting(d, "ShowBlackScreens"));
        d.Click(IDC_BLANK_SCREENS);
        written.push_back(Setting(d, "ShowBlackScreens"));
        d.Click(IDC_BLANK_SCREENS);
        written.push_back(Setting(d, "ShowBlackScreens"));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(written, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey), before);
}

TEST_F(MonitorGroupTest, AChoiceInAnEmptyListChangesNothing) {
    Install(0);
    Store({{L"EnableMultiMonitorMode", L"2: 1"}, {L"CurMonitor", L"2: 0"}});
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [](Dialog& d) {
        d.Command(IDC_MONITOR_LIST, CBN_SELENDOK);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredTypedText(L"EnableMultiMonitorMode"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"CurMonitor"), L"2: 0");
}

// The program's template has no resolution controls: nothing shows or
// changes the stored resolution choice.
TEST_F(MonitorGroupTest, WithoutResolutionControlsTheModeSettingsStayAsStored) {
    Install(1);
    Store({{L"UseDesktopRes", L"2: 0"}, {L"ModeWidth", L"2: 800"}, {L"ModeHeight", L"2: 600"},
           {L"ModeFormat", L"2: 22"}});
    const test_support::RawValues before = test_support::ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    bool absent = false;
    Dialog dialog;
    test_support::RunDriven<CSettingsDlg>(dialog, [&](Dialog& d) {
        absent = !d.GetDlgItem(IDC_RESOLUTION_LIST) && !d.GetDlgItem(IDC_DESKTOP_RESOLUTION);
        d.Choose(IDC_MONITOR_LIST, 0);
        d.Click(IDOK);
    });
    EXPECT_TRUE(absent);
    for (const wchar_t* name : {L"UseDesktopRes", L"ModeWidth", L"ModeHeight", L"ModeFormat"}) {
        EXPECT_EQ(StoredTypedText(name), test_support::UnterminatedText(before.at(name))) << name;
    }
}

const std::vector<std::wstring> kModes = {L"640 x 480 x 32", L"800 x 600 x 32", L"1024 x 768 x 32",
                                          L"1280 x 1024 x 32"};
constexpr int kDesktopMode = 3;  // 1280 x 1024, the fake's desktop

struct ResolutionFillCase {
    const char* name;
    Stored stored;
    bool desktopChecked;
    bool listEnabled;
    int selected;
};

class ResolutionFillTest : public MonitorGroupTest, public ::testing::WithParamInterface<ResolutionFillCase> {};

TEST_P(ResolutionFillTest, ShowsTheModesOfTheChosenMonitor) {
    const ResolutionFillCase& c = GetParam();
    Install(3);
    Store(c.stored);
    std::vector<std::wstring> entries;
    int selected = -2;
    bool desktopChecked = !c.desktopChecked, listEnabled = !c.listEnabled;
    ResolutionDialog dialog;
    test_support::RunDriven<CResolutionSettingsDlg>(dialog, [&](ResolutionDialog& d) {
        entries = d.Entries(IDC_RESOLUTION_LIST);
        selected = d.Selected(IDC_RESOLUTION_LIST);
        desktopChecked = d.Checked(IDC_DESKTOP_RESOLUTION);
        listEnabled = d.Enabled(IDC_RESOLUTION_LIST);
    });
    EXPECT_EQ(entries, kModes);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(desktopChecked, c.desktopChecked);
    EXPECT_EQ(listEnabled, c.listEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ResolutionFillTest,
    ::testing::Values(
        ResolutionFillCase{"StoredMode",
                           {{L"UseDesktopRes", L"2: 0"}, {L"ModeWidth", L"2: 800"}, {L"ModeHeight", L"2: 600"},
                            {L"ModeFormat", L"2: 22"}},
                           false, true, 1},
        ResolutionFillCase{"DesktopResolution", {{L"UseDesktopRes", L"2: 1"}, {L"ModeWidth", L"2: 800"}}, true,
                           false, kDesktopMode},
        ResolutionFillCase{"SecondMonitorsOwnSettings",
                           {{L"CurMonitor", L"2: 2"}, {L"UseDesktopRes", L"2: 1"}, {L"UseDesktopRes2", L"2: 0"},
                            {L"ModeWidth2", L"2: 1024"}, {L"ModeHeight2", L"2: 768"}, {L"ModeFormat2", L"2: 22"}},
                           false, true, 2}),
    test_support::CaseName<ResolutionFillCase>);

// At the start the inventory has just read each adapter's desktop mode: the
// selection takes it from there. A later switch of monitor asks afresh, and
// follows a desktop mode changed in between.
TEST_F(MonitorGroupTest, DesktopModeOfTheInventoryAtTheStartAskedAfreshOnASwitch) {
    Install(3);
    Store({{L"UseDesktopRes", L"2: 1"}});
    std::vector<UINT> queriesAtStart, queriesAfterSwitch;
    std::vector<int> selected;
    ResolutionDialog dialog;
    test_support::RunDriven<CResolutionSettingsDlg>(dialog, [&](ResolutionDialog& d) {
        queriesAtStart = d3d_->displayModeQueries();
        selected.push_back(d.Selected(IDC_RESOLUTION_LIST));
        d3d_->adapters()[1].desktop = D3DDISPLAYMODE{1024, 768, 60, D3DFMT_X8R8G8B8};
        d.Choose(IDC_MONITOR_LIST, 1);
        queriesAfterSwitch = d3d_->displayModeQueries();
        selected.push_back(d.Selected(IDC_RESOLUTION_LIST));
        d.Click(IDCANCEL);
    });
    EXPECT_EQ(queriesAtStart, (std::vector<UINT>{0, 1, 2}));
    EXPECT_EQ(queriesAfterSwitch, (std::vector<UINT>{0, 1, 2, 1}));
    EXPECT_EQ(selected, (std::vector<int>{kDesktopMode, 2}));
}

TEST_F(MonitorGroupTest, DesktopResolutionBoxWritesTheChosenMonitorsSetting) {
    Install(3);
    // Every monitor remembers the position of the plain mode entries (800 x 600).
    Store({{L"UseDesktopRes", L"2: 1"}, {L"UseDesktopRes2", L"2: 0"}, {L"ModeWidth", L"2: 800"},
           {L"ModeHeight", L"2: 600"}, {L"ModeFormat", L"2: 22"}});
    std::vector<int> selected;
    std::vector<bool> listEnabled;
    ResolutionDialog dialog;
    test_support::RunDriven<CResolutionSettingsDlg>(dialog, [&](ResolutionDialog& d) {
        d.Choose(IDC_MONITOR_LIST, 2);
        d.Click(IDC_DESKTOP_RESOLUTION);
        selected.push_back(d.Selected(IDC_RESOLUTION_LIST));
        listEnabled.push_back(d.Enabled(IDC_RESOLUTION_LIST));
        EXPECT_EQ(Setting(d, "UseDesktopRes2"), 1);
        EXPECT_EQ(Setting(d, "UseDesktopRes"), 1);
        // Back to the remembered mode when the box is cleared again.
        d.Click(IDC_DESKTOP_RESOLUTION);
        selected.push_back(d.Selected(IDC_RESOLUTION_LIST));
        listEnabled.push_back(d.Enabled(IDC_RESOLUTION_LIST));
        d.Click(IDC_DESKTOP_RESOLUTION);
        d.Click(IDOK);
    });
    EXPECT_EQ(selected, (std::vector<int>{kDesktopMode, 1}));
    EXPECT_EQ(listEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(StoredTypedText(L"UseDesktopRes2"), L"2: 1");
    EXPECT_EQ(StoredTypedText(L"UseDesktopRes"), L"2: 1");
}

TEST_F(MonitorGroupTest, DesktopResolutionBoxOfMonitorZeroWritesThePlainName) {
    Install(3);
    Store({{L"UseDesktopRes", L"2: 1"}});
    ResolutionDialog dialog;
    test_support::RunDriven<CResolutionSettingsDlg>(dialog, [](ResolutionDialog& d) {
        d.Click(IDC_DESKTOP_RESOLUTION);
        d.Click(IDOK);
    });
    EXPECT_EQ(StoredTypedText(L"UseDesktopRes"), L"2: 0");
    EXPECT_EQ(StoredTypedText(L"UseDesktopRes0"), L"<missing>");
}

TEST_F(MonitorGroupTest, ChoosingAModeWritesItsSizeAndFormat) {
    Install(3);
    Store({{L"UseDesktopRes", L"2: 0"}, {L"ModeWidth", L"2: 800"}, {L"ModeHeight", L"2: 600"},
           {L"ModeFormat", L"2: 22"}});
    int remembered = -2;
    ResolutionDialog dialog;
    test_support::RunDriven<CResolutionSettingsDlg>(dialog, [&](ResolutionDialog& d) {
        const int entry = static_cast<int>(::SendMessageW(d.GetDlgItem(IDC_RESOLUTION_LIST), CB_FINDSTRINGEXACT,
                                                          static_cast<WPARAM>(-1),
                                                          reinterpret_cast<LPARAM>(L"1024 x 768 x 32")));
        d.Choose(IDC_RESOLUTION_LIST, entry);
        // The desktop box on and off again comes back to the mode just chosen.
        d.Click(IDC_DESKTOP_RESOLUTION);
        d.Click(IDC_DESKTOP_RESOLUTION);
        remembered = d.Selected(IDC_RESOLUTION_LIST);
        d.Click(IDOK);
    });
    EXPECT_EQ(remembered, 2);
    EXPECT_EQ(StoredTypedText(L"ModeWidth"), L"2: 1024");
    EXPECT_EQ(StoredTypedText(L"ModeHeight"), L"2: 768");
    EXPECT_EQ(StoredTypedText(L"ModeFormat"), L"2: 22");
    EXPECT_EQ(StoredTypedText(L"ModeWidth0"), L"<missing>");
}

}  // namespace
