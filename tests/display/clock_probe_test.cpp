// The clock measurement with counters the test drives: the performance
// counter (10 MHz) moves 10 ticks (1 us) per reading, the time-stamp counter
// 300 cycles per tick (3 GHz), and a pause of 10 ms can be put between a
// time-stamp reading and its neighbours, as a pre-emption would.
#include "display/clock_probe.h"

#include "display/display_seam.h"

#include <gtest/gtest.h>

#include <set>

namespace {

std::int64_t g_ticks = 0;
bool g_frequencyWorks = true;
std::int64_t g_cyclesPerTick = 300;
int g_timeStampReadings = 0;
std::set<int> g_pausedBefore;
std::set<int> g_pausedAfter;

constexpr std::int64_t kPause = 100000;  // 10 ms

BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 10000000;
    return g_frequencyWorks;
}

BOOL WINAPI FakeCounter(LARGE_INTEGER* counter) {
    g_ticks += 10;
    counter->QuadPart = g_ticks;
    return TRUE;
}

std::uint64_t FakeTimeStamp() {
    const int reading = ++g_timeStampReadings;
    if (g_pausedBefore.count(reading)) g_ticks += kPause;
    const auto stamp = static_cast<std::uint64_t>(g_ticks * g_cyclesPerTick);
    if (g_pausedAfter.count(reading)) g_ticks += kPause;
    return stamp;
}

struct ClockCase {
    const char* name;
    bool frequencyWorks;
    std::int64_t cyclesPerTick;
    // Time-stamp readings (counted from 1) with a pause before or after them.
    std::set<int> pausedBefore, pausedAfter;
    std::int32_t lowest, highest;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ClockCase& c, std::ostream* os) {
    *os << c.name;
}

class MeasureClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(MeasureClockTest, NeverReadsAboveTheTrueClock) {
    const ClockCase& c = GetParam();
    display_seam::Api api;
    api.queryPerformanceFrequency = &FakeFrequency;
    api.queryPerformanceCounter = &FakeCounter;
    api.readTimeStampCounter = &FakeTimeStamp;
    display_seam::ScopedApi scope(api);
    g_ticks = 1000000;
    g_timeStampReadings = 0;
    g_frequencyWorks = c.frequencyWorks;
    g_cyclesPerTick = c.cyclesPerTick;
    g_pausedBefore = c.pausedBefore;
    g_pausedAfter = c.pausedAfter;
    const std::int32_t mhz = MeasureProcessorClock();
    EXPECT_GE(mhz, c.lowest);
    EXPECT_LE(mhz, c.highest);
}

// The first time-stamp reading starts the span, the last ones end it; one
// measured with no pause reads the true clock within 0.1%. A pause between
// the first time-stamp and the counter's start of the span, or between the
// counter's end and the last time-stamp, made the clock read 20% high (3600
// MHz) when it was measured over one bracket-less span.
INSTANTIATE_TEST_SUITE_P(
    Counters, MeasureClockTest,
    ::testing::Values(ClockCase{"ThreeGHz", true, 300, {}, {}, 2997, 3000},
                      ClockCase{"OneGHz", true, 100, {}, {}, 999, 1000},
                      ClockCase{"PausedAfterTheFirstTimeStamp", true, 300, {}, {1}, 2997, 3000},
                      ClockCase{"PausedBeforeTheSecondTimeStamp", true, 300, {2}, {}, 2997, 3000},
                      ClockCase{"PausedAroundTheLastTimeStamps", true, 300, {6, 7, 8, 9}, {6, 7, 8, 9}, 2997, 3000},
                      // Every bracket at one end paused: low, never high.
                      ClockCase{"PausedBeforeEveryStartTimeStamp", true, 300, {1, 2, 3, 4, 5}, {}, 1, 3000},
                      ClockCase{"NoFrequency", false, 300, {}, {}, 0, 0},
                      ClockCase{"CounterRunsBackwards", true, -300, {}, {}, 0, 0}),
    [](const ::testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

}  // namespace
