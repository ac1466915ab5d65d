// The probes against Wine's own Direct3D, DirectDraw and WMI. Wine makes up
// its figures, so only their shape is checked.
#include "display/antialiasing_probe.h"
#include "display/clock_probe.h"
#include "display/display_configuration.h"
#include "display/video_memory.h"

#include "config/node.h"
#include "config/product.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>

namespace {

class ComApartment {
public:
    ComApartment() { ::CoInitialize(nullptr); }
    ~ComApartment() { ::CoUninitialize(); }
};

TEST(RealDisplay, InventoryHasANamedMonitorWithSortedModes) {
    ComApartment com;
    Node settings;
    DeviceConfirmer confirmer;
    auto display = std::make_unique<DisplayConfiguration>(settings, confirmer);
    ASSERT_EQ(display->EnumerateDisplays(), S_OK);
    const DisplayInventory& inventory = display->inventory();
    ASSERT_GE(inventory.monitorCount, 1u);
    EXPECT_EQ(inventory.adapterCount, inventory.monitorCount);
    EXPECT_GE(inventory.groupCaps.NumberOfAdaptersInGroup, 1u);
    for (std::uint32_t m = 0; m < inventory.monitorCount; ++m) {
        EXPECT_GT(std::wcslen(inventory.monitors[m].displayName), 0u);
        const AdapterRecord& adapter = inventory.adapters[m];
        ASSERT_GE(adapter.deviceTypeCount, 1u);
        const DeviceTypeRecord& first = adapter.deviceTypes[0];
        ASSERT_GE(first.modeCount, 1u);
        for (std::uint32_t i = 0; i < first.modeCount; ++i) {
            EXPECT_GE(first.modes[i].Width, 640u);
            EXPECT_GE(first.modes[i].Height, 480u);
            if (i > 0) {
                const CandidateMode a{first.modes[i - 1].Width, first.modes[i - 1].Height, 0, first.modes[i - 1].Format};
                const CandidateMode b{first.modes[i].Width, first.modes[i].Height, 0, first.modes[i].Format};
                EXPECT_TRUE(ModeOrderLess(a, b)) << i;
            }
        }
    }
    // The stored choice is checked against what was found.
    settings.Get(L"CurMonitor") = ConfigValue(std::int32_t{9});
    display->ValidateMonitorChoice();
    EXPECT_EQ(settings.Get(L"CurMonitor").AsInt(), 0);
}

TEST(RealDisplay, VideoMemoryIsKnown) {
    ComApartment com;
    test_support::ScopedKeyRemoval productKey(HKEY_LOCAL_MACHINE, product::kKey);
    EXPECT_GT(ProbeVideoMemory(), 0u);
    EXPECT_GT(DirectDrawVideoMemory(), 0u);
}

TEST(RealDisplay, WmiListsAVideoController) {
    std::vector<display_seam::VideoControllerRow> rows;
    ASSERT_TRUE(ListVideoControllers(rows));
    ASSERT_GE(rows.size(), 1u);
    EXPECT_LE(rows.size(), kMaxVideoControllers);
    EXPECT_FALSE(rows[0].pnpDeviceId.empty());
}

TEST(RealDisplay, ClockIsPlausible) {
    const std::int32_t mhz = MeasureProcessorClock();
    EXPECT_GE(mhz, 100);
    EXPECT_LE(mhz, 50000);
}

TEST(RealDisplay, SampleCountsAreBetweenTwoAndThirtyOne) {
    const std::vector<std::int32_t> counts = ProbeSampleCounts();
    ASSERT_FALSE(counts.empty());
    for (size_t i = 0; i < counts.size(); ++i) {
        EXPECT_GE(counts[i], 2);
        EXPECT_LE(counts[i], 31);
        if (i > 0) {
            EXPECT_GT(counts[i], counts[i - 1]);
        }
    }
}

}  // namespace
