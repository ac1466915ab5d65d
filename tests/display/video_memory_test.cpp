// The video-memory probe through its seams: DirectDraw's drivers, the display
// devices and the WMI rows are chosen by the test; Direct3D is the fake.
#include "display/video_memory.h"

#include "config/product.h"
#include "display/display_configuration.h"
#include "framework/thread.h"
#include "config/node.h"
#include "tests/display/fake_display.h"
#include "tests/support/case_name.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using display_seam::VideoControllerRow;
using fake_display::MonitorHandle;

struct Driver {
    std::string name;
    HMONITOR monitor;
};

struct Device {
    std::string name;
    DWORD flags;
    std::string id;
};

// What the fake system answers.
std::vector<Driver> g_drivers;
std::vector<Device> g_devices;
std::vector<VideoControllerRow> g_rows;
bool g_wmiWorks = true;
int g_wmiQueries = 0;
DWORD g_enumerateFlags = 0;

HRESULT WINAPI FakeEnumerate(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags) {
    g_enumerateFlags = flags;
    for (Driver& driver : g_drivers) {
        std::string description = "Display driver";
        GUID guid{};
        if (!callback(&guid, &description[0], driver.name.empty() ? nullptr : &driver.name[0], context,
                      driver.monitor)) {
            break;
        }
    }
    return DD_OK;
}

BOOL WINAPI FakeEnumDisplayDevicesA(LPCSTR device, DWORD index, PDISPLAY_DEVICEA info, DWORD) {
    if (device || info->cb != sizeof(DISPLAY_DEVICEA) || index >= g_devices.size()) return FALSE;
    const Device& d = g_devices[index];
    lstrcpynA(info->DeviceName, d.name.c_str(), sizeof(info->DeviceName));
    lstrcpynA(info->DeviceID, d.id.c_str(), sizeof(info->DeviceID));
    info->StateFlags = d.flags;
    return TRUE;
}

bool FakeControllers(std::vector<VideoControllerRow>& rows) {
    ++g_wmiQueries;
    rows = g_rows;
    return g_wmiWorks;
}

constexpr DWORD kAttached = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
constexpr DWORD kMirror = DISPLAY_DEVICE_MIRRORING_DRIVER;

// Two adapters: \\.\DISPLAY1 on monitor 0 and \\.\DISPLAY2 on monitor 1,
// each with a WMI controller of its own memory size.
class VideoMemoryTest : public ::testing::Test {
protected:
    VideoMemoryTest() : scope_(Seams()) {
        g_drivers = {{"display", nullptr}, {"\\\\.\\DISPLAY1", MonitorHandle(0)}, {"\\\\.\\DISPLAY2", MonitorHandle(1)}};
        g_devices = {{"\\\\.\\DISPLAY1", kAttached | DISPLAY_DEVICE_PRIMARY_DEVICE, "PCI\\VEN_10DE&DEV_0001"},
                     {"\\\\.\\DISPLAY2", kAttached, "PCI\\VEN_10DE&DEV_0002"}};
        g_rows = {{L"PCI\\VEN_10DE&DEV_0001\\4&1234&0&0008", true, 256u << 20},
                  {L"PCI\\VEN_10DE&DEV_0002\\4&5678&0&0010", true, 512u << 20}};
        g_wmiWorks = true;
        g_wmiQueries = 0;
    }

    static display_seam::Api Seams() {
        display_seam::Api api;
        api.directDrawEnumerate = &FakeEnumerate;
        api.enumDisplayDevicesA = &FakeEnumDisplayDevicesA;
        api.listVideoControllers = &FakeControllers;
        return api;
    }

    std::wstring DeviceId(HMONITOR monitor, HRESULT expected) {
        wchar_t id[kDeviceIdLength];
        EXPECT_EQ(FindAdapterDeviceId(monitor, id), expected);
        return id;
    }

private:
    display_seam::ScopedApi scope_;
};

TEST_F(VideoMemoryTest, DeviceIdOfTheMonitorsDriver) {
    EXPECT_EQ(DeviceId(MonitorHandle(1), S_OK), L"PCI\\VEN_10DE&DEV_0002");
    EXPECT_EQ(g_enumerateFlags, static_cast<DWORD>(DDENUM_ATTACHEDSECONDARYDEVICES));
    EXPECT_EQ(DeviceId(MonitorHandle(0), S_OK), L"PCI\\VEN_10DE&DEV_0001");
}

TEST_F(VideoMemoryTest, DriverNamesCompareWithoutCase) {
    g_drivers = {{"\\\\.\\display2", MonitorHandle(1)}};
    EXPECT_EQ(DeviceId(MonitorHandle(1), S_OK), L"PCI\\VEN_10DE&DEV_0002");
}

TEST_F(VideoMemoryTest, MirroringAndDetachedDevicesAreSkipped) {
    g_devices = {{"\\\\.\\DISPLAY2", kAttached | kMirror, "MIRROR"},
                 {"\\\\.\\DISPLAY2", 0, "DETACHED"},
                 {"\\\\.\\DISPLAY2", kAttached, "REAL"},
                 {"\\\\.\\DISPLAY2", kAttached, "LATER"}};
    EXPECT_EQ(DeviceId(MonitorHandle(1), S_OK), L"REAL");
    g_devices.erase(g_devices.begin() + 2, g_devices.end());
    EXPECT_EQ(DeviceId(MonitorHandle(1), E_FAIL), L"");
}

TEST_F(VideoMemoryTest, LaterDriverForTheSameMonitorWins) {
    g_drivers = {{"\\\\.\\DISPLAY1", MonitorHandle(1)}, {"\\\\.\\DISPLAY2", MonitorHandle(1)}};
    EXPECT_EQ(DeviceId(MonitorHandle(1), S_OK), L"PCI\\VEN_10DE&DEV_0002");
}

TEST_F(VideoMemoryTest, NoDriverForTheMonitor) {
    EXPECT_EQ(DeviceId(MonitorHandle(5), E_FAIL), L"");
    g_drivers = {{"", MonitorHandle(5)}};  // a driver without a name
    EXPECT_EQ(DeviceId(MonitorHandle(5), E_FAIL), L"");
}

TEST_F(VideoMemoryTest, OverlongDriverNameIsCutNotOverrun) {
    g_drivers = {{std::string(2000, 'D'), MonitorHandle(1)}};
    g_devices.push_back({std::string(31, 'D'), kAttached, "NEVER"});
    EXPECT_EQ(DeviceId(MonitorHandle(1), E_FAIL), L"");
}

TEST_F(VideoMemoryTest, AdapterRamOfTheMatchingController) {
    std::uint32_t bytes = 1;
    EXPECT_EQ(QueryAdapterRam(MonitorHandle(1), bytes), S_OK);
    EXPECT_EQ(bytes, 512u << 20);
    EXPECT_EQ(QueryAdapterRam(MonitorHandle(0), bytes), S_OK);
    EXPECT_EQ(bytes, 256u << 20);
}

TEST_F(VideoMemoryTest, WithoutADeviceIdWmiIsNotAsked) {
    std::uint32_t bytes = 1;
    EXPECT_EQ(QueryAdapterRam(MonitorHandle(7), bytes), E_FAIL);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(g_wmiQueries, 0);
}

TEST_F(VideoMemoryTest, EmptyDeviceIdFailsAndWmiIsNotAsked) {
    g_devices[1].id.clear();
    EXPECT_EQ(DeviceId(MonitorHandle(1), E_FAIL), L"");
    std::uint32_t bytes = 1;
    EXPECT_EQ(QueryAdapterRam(MonitorHandle(1), bytes), E_FAIL);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(g_wmiQueries, 0);
}

TEST_F(VideoMemoryTest, FailingWmiGivesNothing) {
    g_wmiWorks = false;
    std::uint32_t bytes = 1;
    EXPECT_EQ(QueryAdapterRam(MonitorHandle(1), bytes), E_FAIL);
    EXPECT_EQ(bytes, 0u);
}

struct RowsCase {
    const char* name;
    std::vector<VideoControllerRow> rows;
    const wchar_t* deviceId;
    bool found;
    std::uint32_t bytes;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const RowsCase& c, std::ostream* os) {
    *os << c.name;
}

class ControllerMatchTest : public ::testing::TestWithParam<RowsCase> {};

TEST_P(ControllerMatchTest, FirstControllerContainingTheIdDecides) {
    const RowsCase& c = GetParam();
    std::uint32_t bytes = 99;
    EXPECT_EQ(FindControllerRam(c.rows, c.deviceId, bytes), c.found);
    EXPECT_EQ(bytes, c.bytes);
}

std::vector<VideoControllerRow> ElevenRows() {
    std::vector<VideoControllerRow> rows(10, VideoControllerRow{L"PCI\\OTHER", true, 1});
    rows.push_back(VideoControllerRow{L"PCI\\VEN_1\\0", true, 64});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ControllerMatchTest,
    ::testing::Values(
        RowsCase{"WithInstanceSuffix", {{L"PCI\\VEN_1&DEV_2\\3&11&0&0008", true, 1024}}, L"PCI\\VEN_1&DEV_2", true, 1024},
        RowsCase{"Exact", {{L"PCI\\VEN_1&DEV_2", true, 7}}, L"PCI\\VEN_1&DEV_2", true, 7},
        RowsCase{"SecondRow", {{L"ROOT\\BASICDISPLAY", true, 5}, {L"PCI\\VEN_1&DEV_2\\0", true, 9}}, L"PCI\\VEN_1&DEV_2",
                 true, 9},
        RowsCase{"FirstMatchWithoutRamEndsTheWalk",
                 {{L"PCI\\VEN_1&DEV_2\\0", false, 0}, {L"PCI\\VEN_1&DEV_2\\1", true, 9}}, L"PCI\\VEN_1&DEV_2", false, 0},
        RowsCase{"CaseMatters", {{L"pci\\ven_1&dev_2\\0", true, 9}}, L"PCI\\VEN_1&DEV_2", false, 0},
        RowsCase{"NoRows", {}, L"PCI\\VEN_1&DEV_2", false, 0},
        RowsCase{"EmptyIdMatchesNothing", {{L"PCI\\VEN_1&DEV_2", true, 9}}, L"", false, 0},
        RowsCase{"LargestRam", {{L"X\\ID", true, 0xFFFFFFFFu}}, L"ID", true, 0xFFFFFFFFu},
        RowsCase{"EleventhNotExamined", ElevenRows(), L"PCI\\VEN_1", false, 0}),
    [](const ::testing::TestParamInfo<RowsCase>& info) { return info.param.name; });

// A property as WMI hands it over: its type and, for the types that carry
// one, its value.
struct Property {
    VARTYPE type;
    const wchar_t* text = nullptr;
    LONG bits = 0;
};

class PropertyVariant {
public:
    explicit PropertyVariant(const Property& property) {
        ::VariantInit(&value_);
        value_.vt = property.type;
        if (property.type == VT_BSTR) value_.bstrVal = property.text ? ::SysAllocString(property.text) : nullptr;
        if (property.type == VT_I4 || property.type == VT_UI4) value_.lVal = property.bits;
        if (property.type == VT_I2) value_.iVal = static_cast<SHORT>(property.bits);
    }
    ~PropertyVariant() { ::VariantClear(&value_); }
    PropertyVariant(const PropertyVariant&) = delete;
    PropertyVariant& operator=(const PropertyVariant&) = delete;
    const VARIANT* Get() const { return &value_; }

private:
    VARIANT value_;
};

struct RowCase {
    const char* name;
    std::optional<Property> pnpDeviceId;  // none: WMI could not give it
    std::optional<Property> adapterRam;
    VideoControllerRow row;
};

class VideoControllerRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(VideoControllerRowTest, TakesTheStringAndThe32BitSize) {
    const RowCase& c = GetParam();
    std::optional<PropertyVariant> pnp, ram;
    if (c.pnpDeviceId) pnp.emplace(*c.pnpDeviceId);
    if (c.adapterRam) ram.emplace(*c.adapterRam);
    const VideoControllerRow row = VideoControllerRowFrom(pnp ? pnp->Get() : nullptr, ram ? ram->Get() : nullptr);
    EXPECT_EQ(row.pnpDeviceId, c.row.pnpDeviceId);
    EXPECT_EQ(row.hasAdapterRam, c.row.hasAdapterRam);
    EXPECT_EQ(row.adapterRam, c.row.adapterRam);
}

const Property kPnp{VT_BSTR, L"PCI\\VEN_1&DEV_2\\0"};

INSTANTIATE_TEST_SUITE_P(
    Properties, VideoControllerRowTest,
    ::testing::Values(
        RowCase{"Signed", kPnp, Property{VT_I4, nullptr, 256 << 20}, {kPnp.text, true, 256u << 20}},
        RowCase{"SignedAbove2GB", kPnp, Property{VT_I4, nullptr, static_cast<LONG>(0xC0000000u)},
                {kPnp.text, true, 0xC0000000u}},
        RowCase{"Unsigned", kPnp, Property{VT_UI4, nullptr, -1}, {kPnp.text, true, 0xFFFFFFFFu}},
        RowCase{"RamMissing", kPnp, std::nullopt, {kPnp.text, false, 0}},
        RowCase{"RamNull", kPnp, Property{VT_NULL}, {kPnp.text, false, 0}},
        RowCase{"RamAsText", kPnp, Property{VT_BSTR, L"1024"}, {kPnp.text, false, 0}},
        RowCase{"RamAs16Bits", kPnp, Property{VT_I2, nullptr, 512}, {kPnp.text, false, 0}},
        RowCase{"IdMissing", std::nullopt, Property{VT_I4, nullptr, 7}, {L"", true, 7}},
        RowCase{"IdNull", Property{VT_NULL}, Property{VT_I4, nullptr, 7}, {L"", true, 7}},
        RowCase{"IdNullString", Property{VT_BSTR}, Property{VT_I4, nullptr, 7}, {L"", true, 7}},
        RowCase{"IdAsNumber", Property{VT_I4, nullptr, 12}, Property{VT_I4, nullptr, 7}, {L"", true, 7}}),
    test_support::CaseName<RowCase>);

// The real WMI query, reached through a display device whose identifier is
// that of Wine's own controller, on a thread in each state of COM.
struct ComCase {
    const char* name;
    bool initialise;
    DWORD model;
};

class QueryAdapterRamComTest : public ::testing::TestWithParam<ComCase> {};

TEST_P(QueryAdapterRamComTest, LeavesComAsItFoundIt) {
    std::vector<VideoControllerRow> rows;
    ASSERT_TRUE(ListVideoControllers(rows));
    ASSERT_FALSE(rows.empty());
    ASSERT_TRUE(rows[0].hasAdapterRam);
    g_drivers = {{"\\\\.\\DISPLAY1", MonitorHandle(0)}};
    g_devices = {{"\\\\.\\DISPLAY1", kAttached, std::string(rows[0].pnpDeviceId.begin(), rows[0].pnpDeviceId.end())}};
    display_seam::Api api;
    api.directDrawEnumerate = &FakeEnumerate;
    api.enumDisplayDevicesA = &FakeEnumDisplayDevicesA;
    display_seam::ScopedApi seam(api);

    const ComCase& c = GetParam();
    HRESULT queried = E_UNEXPECTED;
    std::uint32_t bytes = 0;
    HRESULT initialisedAfter = E_UNEXPECTED;
    framework::Thread([&] {
        if (c.initialise && FAILED(::CoInitializeEx(nullptr, c.model))) return;
        queried = QueryAdapterRam(MonitorHandle(0), bytes);
        // S_FALSE: this thread is still in its apartment; S_OK: COM had
        // been left, or (without COM before) it is not left behind.
        initialisedAfter = ::CoInitializeEx(nullptr, c.model);
        if (SUCCEEDED(initialisedAfter)) ::CoUninitialize();
        if (c.initialise) ::CoUninitialize();
    }).Join();

    EXPECT_EQ(queried, S_OK);
    EXPECT_EQ(bytes, rows[0].adapterRam);
    EXPECT_EQ(initialisedAfter, c.initialise ? S_FALSE : S_OK);
}

INSTANTIATE_TEST_SUITE_P(Threads, QueryAdapterRamComTest,
                         ::testing::Values(ComCase{"WithoutCom", false, COINIT_APARTMENTTHREADED},
                                           ComCase{"SingleThreaded", true, COINIT_APARTMENTTHREADED},
                                           ComCase{"MultiThreaded", true, COINIT_MULTITHREADED}),
                         test_support::CaseName<ComCase>);

// The probe takes the monitor stored at the last OK from the registry.
struct StoredCase {
    const char* name;
    const wchar_t* stored;  // null: no value
    std::uint32_t bytes;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << c.name;
}

class ProbeVideoMemoryTest : public VideoMemoryTest, public ::testing::WithParamInterface<StoredCase> {
protected:
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
};

fake_display::Adapter AdapterOn(int monitor) {
    fake_display::Adapter adapter;
    adapter.modes = fake_display::Modes({{640, 480}});
    adapter.monitor = MonitorHandle(monitor);
    return adapter;
}

TEST_P(ProbeVideoMemoryTest, QueriesTheStoredMonitorsAdapter) {
    const StoredCase& c = GetParam();
    if (c.stored) test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"CurMonitor", c.stored);
    fake_display::Direct3D9 d3d({AdapterOn(0), AdapterOn(1)});
    fake_display::Installed fake(&d3d, {}, Seams());
    EXPECT_EQ(ProbeVideoMemory(), c.bytes);
    EXPECT_EQ(d3d.references(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Stored, ProbeVideoMemoryTest,
                         ::testing::Values(StoredCase{"One", L"2: 1", 512u << 20},
                                           StoredCase{"Seven", L"2: 7", 256u << 20},
                                           StoredCase{"Missing", nullptr, 256u << 20},
                                           StoredCase{"OneCharacter", L"1", 256u << 20},
                                           StoredCase{"Negative", L"2: -1", 256u << 20},
                                           StoredCase{"Zero", L"2: 0", 256u << 20}),
                         [](const ::testing::TestParamInfo<StoredCase>& info) { return info.param.name; });

class ProbeWithInventoryTest : public VideoMemoryTest {
protected:
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
};

TEST_F(ProbeWithInventoryTest, MonitorIndexIsMappedToItsAdapterOrdinal) {
    fake_display::Adapter unusable = AdapterOn(0);
    unusable.modes = fake_display::Modes({{320, 240}});
    fake_display::Direct3D9 d3d({unusable, AdapterOn(1)});
    fake_display::Installed fake(&d3d, {}, Seams());
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"CurMonitor", L"2: 0");
    EXPECT_EQ(display->ProbeVideoMemory(), 512u << 20);
    EXPECT_EQ(d3d.monitorQueries().back(), 1u);
    // Monitor 1 does not exist in this inventory: its first monitor is probed.
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"CurMonitor", L"2: 1");
    EXPECT_EQ(display->ProbeVideoMemory(), 512u << 20);
}

TEST_F(ProbeWithInventoryTest, DirectDrawWhenWmiHasNoFigure) {
    const std::uint32_t directDraw = DirectDrawVideoMemory();
    ASSERT_NE(directDraw, 0u);
    fake_display::Direct3D9 d3d({AdapterOn(0)});
    fake_display::Installed fake(&d3d, {}, Seams());
    g_rows = {{L"PCI\\VEN_10DE&DEV_0001\\4&1234&0&0008", true, 0}};
    EXPECT_EQ(ProbeVideoMemory(), directDraw);
    g_rows = {{L"PCI\\VEN_10DE&DEV_0001\\4&1234&0&0008", false, 0}};
    EXPECT_EQ(ProbeVideoMemory(), directDraw);
    g_rows.clear();
    EXPECT_EQ(ProbeVideoMemory(), directDraw);
}

TEST_F(ProbeWithInventoryTest, DirectDrawWithoutDirect3D) {
    fake_display::Installed fake(nullptr, {}, Seams());
    EXPECT_EQ(ProbeVideoMemory(), DirectDrawVideoMemory());
    EXPECT_EQ(g_wmiQueries, 0);
}

}  // namespace
