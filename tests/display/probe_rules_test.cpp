// The numbers of the probes: the stored monitor text, the clock figure, the
// hardware-dependent defaults and the antialiasing list.
#include "display/antialiasing_list.h"
#include "display/probe_rules.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

struct MonitorTextCase {
    const wchar_t* text;
    std::int32_t index;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const MonitorTextCase& c, std::ostream* os) {
    for (const wchar_t* p = c.text; *p; ++p) *os << (*p >= 32 && *p < 127 ? static_cast<char>(*p) : '?');
    *os << " -> " << c.index;
}

class StoredMonitorIndexTest : public ::testing::TestWithParam<MonitorTextCase> {};

TEST_P(StoredMonitorIndexTest, ReadsTheNumberAfterTheTypePrefix) {
    EXPECT_EQ(ParseStoredMonitorIndex(GetParam().text), GetParam().index) << std::wstring(GetParam().text).size();
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredMonitorIndexTest,
                         ::testing::Values(MonitorTextCase{L"2: 1", 1}, MonitorTextCase{L"2: 7", 7},
                                           MonitorTextCase{L"2:1", 1}, MonitorTextCase{L"2: \t 12", 12},
                                           MonitorTextCase{L"2: -1", -1}, MonitorTextCase{L"2: +3", 3},
                                           MonitorTextCase{L"2: 4abc", 4}, MonitorTextCase{L"3: x", 0},
                                           MonitorTextCase{L"2: ", 0}, MonitorTextCase{L"2:", 0},
                                           MonitorTextCase{L"2", 0}, MonitorTextCase{L"", 0},
                                           MonitorTextCase{L"2: - 1", 0}, MonitorTextCase{L"2: 99999999999", 2147483647},
                                           MonitorTextCase{L"2: -99999999999", std::numeric_limits<std::int32_t>::min()}));

struct ClampCase {
    std::int32_t index;
    std::uint32_t adapters;
    std::uint32_t chosen;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ClampCase& c, std::ostream* os) {
    *os << c.index << " of " << c.adapters;
}

class ClampAdapterIndexTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampAdapterIndexTest, FallsBackToTheFirstAdapter) {
    EXPECT_EQ(ClampAdapterIndex(GetParam().index, GetParam().adapters), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(Indexes, ClampAdapterIndexTest,
                         ::testing::Values(ClampCase{1, 2, 1}, ClampCase{7, 2, 0}, ClampCase{2, 2, 0},
                                           ClampCase{0, 1, 0}, ClampCase{-1, 2, 0}, ClampCase{0, 0, 0},
                                           ClampCase{3, 0, 0}));

struct ClockCase {
    std::int64_t cycles, ticks, frequency;
    std::int32_t mhz;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ClockCase& c, std::ostream* os) {
    *os << c.cycles << " cycles over " << c.ticks << " ticks at " << c.frequency;
}

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinCount = std::numeric_limits<std::int64_t>::min();

class ClockFromSpanTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockFromSpanTest, DividesTheCyclesByTheMicroseconds) {
    EXPECT_EQ(ClockFromSpan(GetParam().cycles, GetParam().ticks, GetParam().frequency), GetParam().mhz);
}

INSTANTIATE_TEST_SUITE_P(Spans, ClockFromSpanTest,
                         ::testing::Values(ClockCase{150000000, 500000, 10000000, 3000},
                                           ClockCase{149999999, 500000, 10000000, 2999},
                                           // A counter at the processor's own rate.
                                           ClockCase{150000000, 150000000, 3000000000, 3000},
                                           ClockCase{49999, 500000, 10000000, 0}, ClockCase{0, 500000, 10000000, 0},
                                           ClockCase{std::int64_t{1} << 62, 500000, 10000000, 0},
                                           // Counters that went backwards, or stood still: no clock.
                                           ClockCase{-1, 500000, 10000000, 0},
                                           ClockCase{kMinCount, 500000, 10000000, 0},
                                           ClockCase{150000000, 0, 10000000, 0}, ClockCase{150000000, -1, 10000000, 0},
                                           ClockCase{150000000, 500000, 0, 0},
                                           ClockCase{kMaxCount, 1, kMaxCount, 0}));

struct TierCase {
    const char* name;
    std::uint32_t bytes;
    std::int32_t mhz;
    std::int32_t height;
    HardwareDefaults expected;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const TierCase& c, std::ostream* os) {
    *os << c.name;
}

class HardwareDefaultsTest : public ::testing::TestWithParam<TierCase> {};

TEST_P(HardwareDefaultsTest, FollowTheThresholds) {
    const TierCase& c = GetParam();
    const HardwareDefaults d = ComputeHardwareDefaults(c.bytes, c.mhz, c.height);
    EXPECT_EQ(d.highQualityTextures, c.expected.highQualityTextures);
    EXPECT_EQ(d.highQualityGraphics, c.expected.highQualityGraphics);
    EXPECT_EQ(d.antialiasing, c.expected.antialiasing);
}

constexpr std::uint32_t MiB(std::uint32_t mb) { return mb << 20; }

INSTANTIATE_TEST_SUITE_P(
    Machines, HardwareDefaultsTest,
    ::testing::Values(TierCase{"Just400MiB", 420478975u, 5000, 1200, {0, 0, 0}},
                      TierCase{"Just401MiB", 420478976u, 2001, 1050, {1, 1, 0}},
                      TierCase{"Exactly400MiB", MiB(400), 5000, 1200, {0, 0, 0}},
                      TierCase{"Height1000", MiB(401), 1000, 1000, {0, 0, 0}},
                      TierCase{"Clock2000", MiB(1024), 2000, 1200, {1, 0, 0}},
                      TierCase{"Mid", MiB(1024), 2500, 1200, {1, 1, 0}},
                      TierCase{"Aa2500MiB3001MHz", MiB(2500), 3001, 800, {0, 1, 1}},
                      TierCase{"Aa3000MHz", MiB(2500), 3000, 800, {0, 1, 0}},
                      TierCase{"Aa2499MiB", MiB(2499), 4000, 800, {0, 1, 0}},
                      TierCase{"Unknown", 0, 0, 0, {0, 0, 0}},
                      // Unsigned comparisons: negative numbers count as huge.
                      TierCase{"NegativeClock", MiB(2500), -1, 1200, {1, 1, 1}},
                      TierCase{"MaxMemory", 0xFFFFFFFFu, 3001, 1001, {1, 1, 1}}),
    [](const ::testing::TestParamInfo<TierCase>& info) { return info.param.name; });

struct AaCase {
    const char* name;
    std::vector<std::int32_t> supported;
    std::int32_t wanted;
    std::vector<std::wstring> texts;
    std::int32_t selected;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const AaCase& c, std::ostream* os) {
    *os << c.name;
}

class AntialiasingListTest : public ::testing::TestWithParam<AaCase> {};

TEST_P(AntialiasingListTest, SortsByTextAndSelectsTheWantedCount) {
    const AaCase& c = GetParam();
    const AntialiasingList list = BuildAntialiasingList(c.supported, c.wanted);
    std::vector<std::wstring> texts;
    for (const AntialiasingEntry& entry : list.entries) {
        texts.push_back(entry.text);
        EXPECT_EQ(std::to_wstring(entry.sampleCount) + L"x", entry.text);
    }
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(list.selected, c.selected);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, AntialiasingListTest,
    ::testing::Values(AaCase{"Wanted4", {2, 4, 8}, 4, {L"2x", L"4x", L"8x"}, 1},
                      AaCase{"OnWithoutCount", {2, 4, 8, 16}, 1, {L"16x", L"2x", L"4x", L"8x"}, 0},
                      AaCase{"Wanted4With16", {2, 4, 8, 16}, 4, {L"16x", L"2x", L"4x", L"8x"}, 2},
                      AaCase{"Off", {2, 4, 8, 16}, 0, {L"16x", L"2x", L"4x", L"8x"}, 0},
                      AaCase{"Unsupported", {2, 4}, 8, {L"2x", L"4x"}, 0},
                      AaCase{"Empty", {}, 4, {}, -1},
                      AaCase{"OutOfRangeAndRepeats", {1, 2, 2, 32, 0, -4, 31}, 31, {L"2x", L"31x"}, 1},
                      AaCase{"EveryCount", {2, 3, 24, 4}, 24, {L"24x", L"2x", L"3x", L"4x"}, 0}),
    [](const ::testing::TestParamInfo<AaCase>& info) { return info.param.name; });

}  // namespace
