// Device types and their mode lists against a fake Direct3D 9.
#include "display/mode_enumeration.h"

#include "tests/display/fake_display.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using fake_display::Adapter;
using fake_display::Direct3D9;
using fake_display::Modes;
using fake_display::RecordingConfirmer;

struct Built {
    DeviceTypeRecord records[kMaxDeviceTypes];
    std::uint32_t count;
};

std::unique_ptr<Built> Build(Direct3D9& d3d, DeviceConfirmer& confirmer, UINT ordinal = 0) {
    auto built = std::make_unique<Built>();
    built->count =
        BuildDeviceTypes(d3d, ordinal, d3d.adapters()[ordinal].desktop.Format, confirmer, built->records);
    return built;
}

std::vector<std::pair<UINT, UINT>> Sizes(const DeviceTypeRecord& record) {
    std::vector<std::pair<UINT, UINT>> sizes;
    for (std::uint32_t i = 0; i < record.modeCount; ++i) sizes.emplace_back(record.modes[i].Width, record.modes[i].Height);
    return sizes;
}

TEST(BuildDeviceTypes, ListsSortedDistinctModesOfTheHalDevice) {
    Adapter adapter;
    adapter.modes = Modes({{1280, 1024}, {800, 600}, {1280, 720}, {1024, 768}, {1024, 768}, {720, 400}, {512, 384}});
    adapter.modes[4].RefreshRate = 75;
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 1u);
    EXPECT_EQ(built->records[0].deviceType, D3DDEVTYPE_HAL);
    using Size = std::pair<UINT, UINT>;
    EXPECT_EQ(Sizes(built->records[0]), (std::vector<Size>{{800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}}));
    EXPECT_EQ(built->records[0].modes[0].Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(built->records[0].caps.DeviceType, D3DDEVTYPE_HAL);
}

TEST(BuildDeviceTypes, HalBeforeRef) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}});
    adapter.ref = fake_display::DeviceTypeAnswers();
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 2u);
    EXPECT_EQ(built->records[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(built->records[1].deviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(built->records[1].caps.DeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(built->records[1].modeCount, 1u);
}

TEST(BuildDeviceTypes, RefTakesTheFirstSlotWhenHalHasNoMode) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}, {800, 600}});
    adapter.hal.available = false;
    adapter.ref = fake_display::DeviceTypeAnswers();
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 1u);
    EXPECT_EQ(built->records[0].deviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(built->records[0].modeCount, 2u);
}

TEST(BuildDeviceTypes, FailedModeReadsContributeNothing) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}, {800, 600}, {1024, 768}});
    adapter.failingModes = {1};
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 1u);
    using Size = std::pair<UINT, UINT>;
    EXPECT_EQ(Sizes(built->records[0]), (std::vector<Size>{{640, 480}, {1024, 768}}));
}

TEST(BuildDeviceTypes, NoCandidatesNoDeviceType) {
    Adapter adapter;
    adapter.modes = Modes({{320, 200}, {512, 384}});
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    EXPECT_EQ(Build(d3d, confirmer)->count, 0u);
}

TEST(BuildDeviceTypes, OnlyAcceptedFormatsContributeModes) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}, {800, 600}, {1024, 768}});
    adapter.modes[1].Format = D3DFMT_A8R8G8B8;
    adapter.hal.rejectedFormats = {D3DFMT_X8R8G8B8};
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 1u);
    ASSERT_EQ(built->records[0].modeCount, 1u);
    EXPECT_EQ(built->records[0].modes[0].Width, 800u);
    EXPECT_EQ(built->records[0].modes[0].Format, D3DFMT_A8R8G8B8);
}

TEST(BuildDeviceTypes, KeepsAHundredModesOfAnAdapterThatReportsMore) {
    Adapter adapter;
    for (UINT i = 0; i < 250; ++i) adapter.modes.push_back(D3DDISPLAYMODE{640 + i, 480, 60, D3DFMT_X8R8G8B8});
    for (UINT i = 0; i < 250; ++i) adapter.modes.push_back(D3DDISPLAYMODE{640 + i, 480, 85, D3DFMT_X8R8G8B8});
    adapter.ref = fake_display::DeviceTypeAnswers();
    Direct3D9 d3d({adapter});
    DeviceConfirmer confirmer;
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 2u);
    for (const DeviceTypeRecord& record : built->records) {
        ASSERT_EQ(record.modeCount, kMaxCandidates);
        EXPECT_EQ(record.modes[0].Width, 640u);
        EXPECT_EQ(record.modes[99].Width, 739u);
    }
}

// Which depth/stencil formats exist decides acceptance, tried in a fixed order.
struct DepthCase {
    const char* name;
    std::set<D3DFORMAT> available;  // CheckDeviceFormat
    std::set<D3DFORMAT> matching;   // CheckDepthStencilMatch
    D3DFORMAT found;
    std::vector<D3DFORMAT> tried;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const DepthCase& c, std::ostream* os) {
    *os << c.name;
}

class DepthStencilTest : public ::testing::TestWithParam<DepthCase> {};

TEST_P(DepthStencilTest, FirstUsableInOrder) {
    const DepthCase& c = GetParam();
    Adapter adapter;
    adapter.modes = Modes({{640, 480}});
    adapter.hal.depthFormats = c.available;
    adapter.hal.depthMatches = c.matching;
    Direct3D9 d3d({adapter});
    EXPECT_EQ(FindDepthStencilFormat(d3d, 0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8), c.found);
    EXPECT_EQ(d3d.depthFormatsTried(), c.tried);
    DeviceConfirmer confirmer;
    EXPECT_EQ(Build(d3d, confirmer)->count, c.found == D3DFMT_UNKNOWN ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DepthStencilTest,
    ::testing::Values(
        DepthCase{"Wine", {D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16}, {D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16},
                  D3DFMT_D24X8, {D3DFMT_D32, D3DFMT_D24X8}},
        DepthCase{"D32First", {D3DFMT_D32, D3DFMT_D16}, {D3DFMT_D32, D3DFMT_D16}, D3DFMT_D32, {D3DFMT_D32}},
        DepthCase{"OnlyD16", {D3DFMT_D16}, {D3DFMT_D16}, D3DFMT_D16,
                  {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D16}},
        DepthCase{"AvailableButNoMatch", {D3DFMT_D24X8, D3DFMT_D24S8}, {D3DFMT_D24S8}, D3DFMT_D24S8,
                  {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D24S8}},
        DepthCase{"MatchButNotAvailable", {D3DFMT_D24X4S4}, {D3DFMT_D32, D3DFMT_D24X4S4}, D3DFMT_D24X4S4,
                  {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4}},
        DepthCase{"NoneOfTheFive", {D3DFMT_D15S1, D3DFMT_D32F_LOCKABLE}, {D3DFMT_D15S1, D3DFMT_D32F_LOCKABLE},
                  D3DFMT_UNKNOWN, {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D16}}),
    [](const ::testing::TestParamInfo<DepthCase>& info) { return info.param.name; });

// Hardware vertex processing is asked first when the device has HT&L, and
// software vertex processing is the fallback.
struct ConfirmCase {
    const char* name;
    bool hardwareTnL;
    std::set<DWORD> refused;
    std::vector<DWORD> asked;
    bool accepted;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ConfirmCase& c, std::ostream* os) {
    *os << c.name;
}

class ConfirmDeviceTest : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(ConfirmDeviceTest, AsksHardwareThenSoftware) {
    const ConfirmCase& c = GetParam();
    Adapter adapter;
    adapter.modes = Modes({{640, 480}});
    adapter.hal.devCaps = c.hardwareTnL ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
    Direct3D9 d3d({adapter});
    RecordingConfirmer confirmer;
    confirmer.refusedBehaviors = c.refused;
    auto built = Build(d3d, confirmer);
    EXPECT_EQ(confirmer.behaviors, c.asked);
    EXPECT_EQ(built->count, c.accepted ? 1u : 0u);
}

constexpr DWORD kHw = D3DCREATE_HARDWARE_VERTEXPROCESSING;
constexpr DWORD kSw = D3DCREATE_SOFTWARE_VERTEXPROCESSING;

INSTANTIATE_TEST_SUITE_P(Behaviors, ConfirmDeviceTest,
                         ::testing::Values(ConfirmCase{"HtlAccepted", true, {}, {kHw}, true},
                                           ConfirmCase{"HtlRefusedSoftwareAccepted", true, {kHw}, {kHw, kSw}, true},
                                           ConfirmCase{"HtlBothRefused", true, {kHw, kSw}, {kHw, kSw}, false},
                                           ConfirmCase{"NoHtl", false, {kHw}, {kSw}, true},
                                           ConfirmCase{"NoHtlRefused", false, {kSw}, {kSw}, false}),
                         [](const ::testing::TestParamInfo<ConfirmCase>& info) { return info.param.name; });

TEST(AcceptFormat, RejectedDeviceTypeIsNotConfirmed) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}});
    adapter.hal.rejectedFormats = {D3DFMT_X8R8G8B8};
    Direct3D9 d3d({adapter});
    RecordingConfirmer confirmer;
    EXPECT_EQ(Build(d3d, confirmer)->count, 0u);
    EXPECT_TRUE(confirmer.behaviors.empty());
}

TEST(AcceptFormat, ConfirmerCanRefuseOneFormat) {
    Adapter adapter;
    adapter.modes = Modes({{640, 480}, {800, 600}});
    adapter.modes[1].Format = D3DFMT_A8R8G8B8;
    Direct3D9 d3d({adapter});
    RecordingConfirmer confirmer;
    confirmer.refusedFormats = {D3DFMT_X8R8G8B8};
    auto built = Build(d3d, confirmer);
    ASSERT_EQ(built->count, 1u);
    ASSERT_EQ(built->records[0].modeCount, 1u);
    EXPECT_EQ(built->records[0].modes[0].Format, D3DFMT_A8R8G8B8);
}

}  // namespace
