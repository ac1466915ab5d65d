// The inventory of adapters and monitors and the checks of the stored
// choices, against a fake Direct3D 9 with chosen adapters and monitors.
#include "display/display_configuration.h"
#include "display/monitor_name.h"

#include "config/node.h"
#include "tests/display/fake_display.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using fake_display::Adapter;
using fake_display::Direct3D9;
using fake_display::Installed;
using fake_display::MonitorDevice;
using fake_display::MonitorHandle;
using fake_display::Monitors;
using fake_display::Modes;

// An adapter with the usual modes driving monitor `number`.
Adapter UsableAdapter(int number) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}});
    adapter.monitor = MonitorHandle(number);
    return adapter;
}

// An adapter with no mode of 640 x 480 or more.
Adapter UnusableAdapter(int number) {
    Adapter adapter;
    adapter.modes = Modes({{320, 200}});
    adapter.monitor = MonitorHandle(number);
    return adapter;
}

std::wstring GdiName(int number) { return L"\\\\.\\DISPLAY" + std::to_wstring(number); }

// Every monitor named after its GDI device, with one active monitor device.
Monitors NamedMonitors(int count) {
    Monitors monitors;
    for (int i = 0; i < count; ++i) {
        monitors.gdiNames[MonitorHandle(i)] = GdiName(i + 1);
        monitors.devices[GdiName(i + 1)] = {MonitorDevice{DISPLAY_DEVICE_ACTIVE, L"Panel " + std::to_wstring(i + 1)}};
    }
    return monitors;
}

class DisplayConfigurationTest : public ::testing::Test {
protected:
    std::unique_ptr<DisplayConfiguration> Make() { return std::make_unique<DisplayConfiguration>(settings_, confirmer_); }

    Node settings_;
    DeviceConfirmer confirmer_;
};

TEST_F(DisplayConfigurationTest, NeverFilledReadsEmpty) {
    auto display = Make();
    EXPECT_EQ(display->inventory().adapterCount, 0u);
    EXPECT_EQ(display->inventory().monitorCount, 0u);
    EXPECT_EQ(display->FindMode(0, 640, 480, D3DFMT_X8R8G8B8), 0u);
    EXPECT_EQ(display->RememberedModeIndex(0), 0u);
}

TEST_F(DisplayConfigurationTest, NoDirect3DFailsWithAnEmptyInventory) {
    Installed fake(nullptr);
    auto display = Make();
    EXPECT_EQ(display->EnumerateDisplays(), E_FAIL);
    EXPECT_EQ(display->inventory().monitorCount, 0u);
    // No choice is below a count of none: whatever was stored, or nothing,
    // becomes the integer 0.
    settings_.Get(L"CurMonitor") = ConfigValue(std::int32_t{3});
    display->ValidateMonitorChoice();
    EXPECT_TRUE(settings_.Has(L"CurMonitor", ValueType::Integer));
    EXPECT_EQ(settings_.Get(L"CurMonitor").AsInt(), 0);
    settings_.Get(L"CurMonitor") = ConfigValue();
    display->ValidateMonitorChoice();
    EXPECT_TRUE(settings_.Has(L"CurMonitor", ValueType::Integer));
    EXPECT_EQ(settings_.Get(L"CurMonitor").AsInt(), 0);
}

TEST_F(DisplayConfigurationTest, TwoAdaptersGiveTwoMonitorsInOrdinalOrder) {
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    d3d.adapters()[0].groupSize = 2;
    d3d.adapters()[1].desktop = D3DDISPLAYMODE{1024, 768, 75, D3DFMT_X8R8G8B8};
    Installed fake(&d3d, NamedMonitors(2));
    auto display = Make();
    EXPECT_EQ(display->EnumerateDisplays(), S_OK);
    const DisplayInventory& inventory = display->inventory();
    ASSERT_EQ(inventory.monitorCount, 2u);
    EXPECT_EQ(inventory.adapterCount, 2u);
    EXPECT_STREQ(inventory.monitors[0].displayName, L"Panel 1");
    EXPECT_STREQ(inventory.monitors[1].displayName, L"Panel 2");
    EXPECT_EQ(inventory.monitors[1].adapterOrdinal, 1u);
    EXPECT_EQ(inventory.adapters[1].desktopMode.Width, 1024u);
    EXPECT_EQ(inventory.adapters[0].deviceTypes[0].modeCount, 4u);
    EXPECT_EQ(inventory.groupCaps.NumberOfAdaptersInGroup, 2u);
    EXPECT_EQ(d3d.references(), 1u) << "the Direct3D object must be released";
}

TEST_F(DisplayConfigurationTest, DroppedAdapterKeepsOrdinalsApart) {
    Direct3D9 d3d({UnusableAdapter(0), UsableAdapter(1), UsableAdapter(2)});
    d3d.adapters()[1].desktop = D3DDISPLAYMODE{800, 600, 60, D3DFMT_X8R8G8B8};
    d3d.adapters()[2].desktop = D3DDISPLAYMODE{1024, 768, 60, D3DFMT_X8R8G8B8};
    Monitors monitors = NamedMonitors(3);
    Installed fake(&d3d, monitors);
    auto display = Make();
    EXPECT_EQ(display->EnumerateDisplays(), S_OK);
    const DisplayInventory& inventory = display->inventory();
    ASSERT_EQ(inventory.monitorCount, 2u);
    // Monitor 0 is the second adapter's: its name, monitor and desktop mode.
    EXPECT_STREQ(inventory.monitors[0].displayName, L"Panel 2");
    EXPECT_STREQ(inventory.monitors[1].displayName, L"Panel 3");
    EXPECT_EQ(inventory.monitors[0].adapterOrdinal, 1u);
    EXPECT_EQ(inventory.monitors[1].adapterOrdinal, 2u);
    EXPECT_EQ(inventory.adapters[0].desktopMode.Width, 800u);
    EXPECT_EQ(d3d.monitorQueries(), (std::vector<UINT>{1, 2}));

    // The desktop mode asked afresh is that of the monitor's own adapter.
    settings_.Get(L"UseDesktopRes") = ConfigValue(std::int32_t{1});
    d3d.adapters()[2].desktop = D3DDISPLAYMODE{1280, 1024, 60, D3DFMT_X8R8G8B8};
    const auto selection = display->InitialModeSelection(1);
    EXPECT_EQ(selection.useDesktopRes, 1);
    EXPECT_EQ(selection.position, 3u);
    EXPECT_EQ(d3d.displayModeQueries().back(), 2u);
}

TEST_F(DisplayConfigurationTest, NineMonitorsAtMost) {
    std::vector<Adapter> adapters;
    for (int i = 0; i < 10; ++i) adapters.push_back(UsableAdapter(i));
    Direct3D9 d3d(adapters);
    Installed fake(&d3d, NamedMonitors(10));
    auto display = Make();
    EXPECT_EQ(display->EnumerateDisplays(), S_OK);
    EXPECT_EQ(display->inventory().monitorCount, kMaxMonitors);
    EXPECT_EQ(display->inventory().adapterCount, kMaxMonitors);
    EXPECT_STREQ(display->inventory().monitors[8].displayName, L"Panel 9");
    EXPECT_EQ(d3d.monitorQueries().size(), 9u) << "the tenth adapter is not examined";
}

TEST_F(DisplayConfigurationTest, NoUsableAdapterFails) {
    Direct3D9 d3d({UnusableAdapter(0), UnusableAdapter(1)});
    Installed fake(&d3d, NamedMonitors(2));
    auto display = Make();
    EXPECT_EQ(display->EnumerateDisplays(), E_FAIL);
    EXPECT_EQ(display->inventory().monitorCount, 0u);
    EXPECT_EQ(d3d.references(), 1u);
}

TEST_F(DisplayConfigurationTest, RetakingTheInventoryStartsAfresh) {
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    Installed fake(&d3d, NamedMonitors(2));
    auto display = Make();
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    d3d.adapters().pop_back();
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    EXPECT_EQ(display->inventory().monitorCount, 1u);
}

// The display name of a monitor.
struct NameCase {
    const char* name;
    bool monitorInfo;
    std::vector<MonitorDevice> devices;
    const wchar_t* displayName;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class MonitorNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(MonitorNameTest, ComesFromTheFirstActiveMonitorDevice) {
    const NameCase& c = GetParam();
    Direct3D9 d3d({UnusableAdapter(0), UsableAdapter(1)});
    Monitors monitors;
    if (c.monitorInfo) monitors.gdiNames[MonitorHandle(1)] = L"\\\\.\\DISPLAY2";
    monitors.devices[L"\\\\.\\DISPLAY2"] = c.devices;
    Installed fake(&d3d, monitors);
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    EXPECT_EQ(MonitorListName(display->inventory().monitors[0], 0), c.displayName);
}

const std::wstring kLongName(200, L'W');
const std::wstring kLongNameCut(127, L'W');

INSTANTIATE_TEST_SUITE_P(
    Devices, MonitorNameTest,
    ::testing::Values(
        NameCase{"FirstActive", true, {{DISPLAY_DEVICE_ACTIVE, L"Wide Panel"}}, L"Wide Panel"},
        NameCase{"SecondActive", true, {{0, L"Sleeping"}, {DISPLAY_DEVICE_ACTIVE | 0x2, L"Awake"}, {DISPLAY_DEVICE_ACTIVE, L"Later"}},
                 L"Awake"},
        NameCase{"NoneActive", true, {{0, L"Sleeping"}, {0x2, L"Attached only"}}, L"\\\\.\\DISPLAY2"},
        NameCase{"NoDevices", true, {}, L"\\\\.\\DISPLAY2"},
        NameCase{"ActiveWithoutText", true, {{DISPLAY_DEVICE_ACTIVE, L""}}, L"\\\\.\\DISPLAY2"},
        // 127 characters is all a DeviceString can hold.
        NameCase{"LongText", true, {{DISPLAY_DEVICE_ACTIVE, kLongName}}, kLongNameCut.c_str()},
        NameCase{"NoMonitorInfo", false, {{DISPLAY_DEVICE_ACTIVE, L"Wide Panel"}}, L"Monitor 1"}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return info.param.name; });

TEST_F(DisplayConfigurationTest, UnnamedMonitorsAreNumberedByIndex) {
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    Installed fake(&d3d, Monitors{});
    auto display = Make();
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    EXPECT_EQ(MonitorListName(display->inventory().monitors[0], 0), L"Monitor 1");
    EXPECT_EQ(MonitorListName(display->inventory().monitors[1], 1), L"Monitor 2");
}

// CurMonitor against two monitors.
struct ChoiceCase {
    const char* name;
    ConfigValue (*stored)();
    bool present;
    std::int32_t after;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ChoiceCase& c, std::ostream* os) {
    *os << c.name;
}

class ValidateMonitorChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ValidateMonitorChoiceTest, ChoiceOfAMissingMonitorBecomesZero) {
    const ChoiceCase& c = GetParam();
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    Installed fake(&d3d, NamedMonitors(2));
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    if (c.present) settings.Get(L"CurMonitor") = c.stored();
    display->ValidateMonitorChoice();
    EXPECT_EQ(settings.Get(L"CurMonitor").AsInt(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ValidateMonitorChoiceTest,
    ::testing::Values(ChoiceCase{"Five", [] { return ConfigValue(std::int32_t{5}); }, true, 0},
                      ChoiceCase{"MinusOne", [] { return ConfigValue(std::int32_t{-1}); }, true, 0},
                      ChoiceCase{"Two", [] { return ConfigValue(std::int32_t{2}); }, true, 0},
                      ChoiceCase{"One", [] { return ConfigValue(std::int32_t{1}); }, true, 1},
                      ChoiceCase{"Zero", [] { return ConfigValue(std::int32_t{0}); }, true, 0},
                      ChoiceCase{"Missing", [] { return ConfigValue(); }, false, 0},
                      ChoiceCase{"Text", [] { return ConfigValue(L"1"); }, true, 0}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return info.param.name; });

// A value of another type reads as monitor 0, which exists: it is not rewritten.
TEST_F(DisplayConfigurationTest, ChoiceReadingAsAnExistingMonitorIsLeftAsStored) {
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    Installed fake(&d3d, NamedMonitors(2));
    auto display = Make();
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    settings_.Get(L"CurMonitor") = ConfigValue(L"1");
    display->ValidateMonitorChoice();
    EXPECT_TRUE(settings_.Has(L"CurMonitor", ValueType::Str));
}

TEST_F(DisplayConfigurationTest, RemembersThePlainModeOnEveryMonitor) {
    Adapter second = UsableAdapter(1);
    second.modes = Modes({{1024, 768}, {1600, 1200}});
    Direct3D9 d3d({UsableAdapter(0), second});
    Installed fake(&d3d, NamedMonitors(2));
    auto display = Make();
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    settings_.Get(L"ModeWidth") = ConfigValue(std::int32_t{1024});
    settings_.Get(L"ModeHeight") = ConfigValue(std::int32_t{768});
    settings_.Get(L"ModeFormat") = ConfigValue(std::int32_t{D3DFMT_X8R8G8B8});
    // Per-monitor entries play no part here.
    settings_.Get(L"ModeWidth1") = ConfigValue(std::int32_t{1600});
    settings_.Get(L"ModeHeight1") = ConfigValue(std::int32_t{1200});
    display->ValidateMonitorChoice();
    EXPECT_EQ(display->RememberedModeIndex(0), 2u);
    EXPECT_EQ(display->RememberedModeIndex(1), 0u);
    display->SetRememberedModeIndex(1, 1);
    EXPECT_EQ(display->RememberedModeIndex(1), 1u);
    display->SetRememberedModeIndex(5, 1);  // no such monitor: nothing happens
    EXPECT_EQ(display->RememberedModeIndex(5), 0u);
}

// FindMode on an adapter whose HAL lists X8R8G8B8 modes and whose REF lists
// only A8R8G8B8 ones.
struct FindCase {
    const char* name;
    std::int32_t monitor;
    std::uint32_t width, height;
    std::int32_t format;
    std::uint32_t position;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.name;
}

class FindModeTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindModeTest, PositionWithinTheFirstListThatHasTheMode) {
    const FindCase& c = GetParam();
    Adapter adapter = UsableAdapter(0);
    adapter.modes.push_back(D3DDISPLAYMODE{2048, 1536, 60, D3DFMT_A8R8G8B8});
    adapter.hal.rejectedFormats = {D3DFMT_A8R8G8B8};
    adapter.ref = fake_display::DeviceTypeAnswers();
    adapter.ref.rejectedFormats = {D3DFMT_X8R8G8B8};
    Direct3D9 d3d({adapter, UsableAdapter(1)});
    Installed fake(&d3d, NamedMonitors(2));
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    ASSERT_EQ(display->inventory().adapters[0].deviceTypeCount, 2u);
    EXPECT_EQ(display->FindMode(c.monitor, c.width, c.height, c.format), c.position);
}

INSTANTIATE_TEST_SUITE_P(Modes, FindModeTest,
                         ::testing::Values(FindCase{"First", 0, 640, 480, D3DFMT_X8R8G8B8, 0},
                                           FindCase{"Last", 0, 1280, 1024, D3DFMT_X8R8G8B8, 3},
                                           FindCase{"InSecondDeviceType", 0, 2048, 1536, D3DFMT_A8R8G8B8, 0},
                                           FindCase{"WrongFormat", 0, 1024, 768, D3DFMT_A8R8G8B8, 0},
                                           FindCase{"Absent", 0, 1920, 1080, D3DFMT_X8R8G8B8, 0},
                                           FindCase{"SecondMonitor", 1, 800, 600, D3DFMT_X8R8G8B8, 1},
                                           FindCase{"NoSuchMonitor", 2, 800, 600, D3DFMT_X8R8G8B8, 0},
                                           FindCase{"NegativeMonitor", -1, 800, 600, D3DFMT_X8R8G8B8, 0}),
                         [](const ::testing::TestParamInfo<FindCase>& info) { return info.param.name; });

// The first selection of the resolution list of monitor 1.
struct SelectionCase {
    const char* name;
    void (*store)(Node&);
    bool direct3d;
    std::int32_t useDesktopRes;
    std::uint32_t position;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const SelectionCase& c, std::ostream* os) {
    *os << c.name;
}

class InitialSelectionTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(InitialSelectionTest, StoredModeOrDesktopMode) {
    const SelectionCase& c = GetParam();
    Direct3D9 d3d({UsableAdapter(0), UsableAdapter(1)});
    d3d.adapters()[1].desktop = D3DDISPLAYMODE{1024, 768, 60, D3DFMT_X8R8G8B8};
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    {
        Installed fake(&d3d, NamedMonitors(2));
        ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    }
    d3d.adapters()[1].desktop = D3DDISPLAYMODE{1280, 1024, 60, D3DFMT_X8R8G8B8};
    Installed fake(c.direct3d ? &d3d : nullptr, NamedMonitors(2));
    c.store(settings);
    const auto selection = display->InitialModeSelection(1);
    EXPECT_EQ(selection.useDesktopRes, c.useDesktopRes);
    EXPECT_EQ(selection.position, c.position);
}

void StoreMode(Node& s, const char* suffix, std::int32_t width, std::int32_t height, std::int32_t format) {
    s.Get(std::string("ModeWidth") + suffix) = ConfigValue(width);
    s.Get(std::string("ModeHeight") + suffix) = ConfigValue(height);
    s.Get(std::string("ModeFormat") + suffix) = ConfigValue(format);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, InitialSelectionTest,
    ::testing::Values(
        SelectionCase{"StoredForTheMonitor",
                      [](Node& s) {
                          s.Get("UseDesktopRes1") = ConfigValue(std::int32_t{0});
                          StoreMode(s, "1", 800, 600, D3DFMT_X8R8G8B8);
                          StoreMode(s, "", 1024, 768, D3DFMT_X8R8G8B8);
                      },
                      true, 0, 1},
        SelectionCase{"PlainFallback",
                      [](Node& s) {
                          s.Get("UseDesktopRes") = ConfigValue(std::int32_t{0});
                          StoreMode(s, "", 1024, 768, D3DFMT_X8R8G8B8);
                      },
                      true, 0, 2},
        SelectionCase{"DesktopModeAskedAfresh",
                      [](Node& s) {
                          s.Get("UseDesktopRes1") = ConfigValue(std::int32_t{1});
                          StoreMode(s, "1", 800, 600, D3DFMT_X8R8G8B8);
                      },
                      true, 1, 3},
        SelectionCase{"DesktopWithoutDirect3D",
                      [](Node& s) { s.Get("UseDesktopRes1") = ConfigValue(std::int32_t{1}); }, false, 1, 0},
        SelectionCase{"AbsentModeSelectsTheSmallest",
                      [](Node& s) { StoreMode(s, "1", 1920, 1080, D3DFMT_X8R8G8B8); }, true, 0, 0},
        SelectionCase{"NothingStored", [](Node&) {}, true, 0, 0}),
    [](const ::testing::TestParamInfo<SelectionCase>& info) { return info.param.name; });

std::vector<std::int32_t> TwoFourEightSixteen() { return {2, 4, 8, 16}; }

TEST_F(DisplayConfigurationTest, AntialiasingChoicesFollowTheSetting) {
    display_seam::Api api;
    api.probeSampleCounts = &TwoFourEightSixteen;
    display_seam::ScopedApi scope(api);
    auto display = Make();
    settings_.Get(L"Antialiasing") = ConfigValue(std::int32_t{8});
    AntialiasingList list = display->AntialiasingChoices();
    ASSERT_EQ(list.entries.size(), 4u);
    EXPECT_EQ(list.entries[list.selected].sampleCount, 8);
    settings_.Get(L"Antialiasing") = ConfigValue(L"8");
    list = display->AntialiasingChoices();
    EXPECT_EQ(list.entries[list.selected].text, L"16x");
}

}  // namespace
