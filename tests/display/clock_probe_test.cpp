// The clock measurement with counters the test drives: the performance
// counter moves 1000 ticks (0.1 ms) per reading, the time-stamp counter 300
// cycles per tick (3 GHz).
#include "display/clock_probe.h"

#include "display/display_seam.h"

#include <gtest/gtest.h>

namespace {

std::int64_t g_ticks = 0;
bool g_frequencyWorks = true;
std::int64_t g_cyclesPerTick = 300;

BOOL WINAPI FakeFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 10000000;
    return g_frequencyWorks;
}

BOOL WINAPI FakeCounter(LARGE_INTEGER* counter) {
    g_ticks += 1000;
    counter->QuadPart = g_ticks;
    return TRUE;
}

std::uint64_t FakeTimeStamp() { return static_cast<std::uint64_t>(g_ticks * g_cyclesPerTick); }

struct ClockCase {
    const char* name;
    bool frequencyWorks;
    std::int64_t cyclesPerTick;
    std::int32_t mhz;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const ClockCase& c, std::ostream* os) {
    *os << c.name;
}

class MeasureClockTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(MeasureClockTest, NetCyclesOverFiftyMilliseconds) {
    display_seam::Api api;
    api.queryPerformanceFrequency = &FakeFrequency;
    api.queryPerformanceCounter = &FakeCounter;
    api.readTimeStampCounter = &FakeTimeStamp;
    display_seam::ScopedApi scope(api);
    g_ticks = 1000000;
    g_frequencyWorks = GetParam().frequencyWorks;
    g_cyclesPerTick = GetParam().cyclesPerTick;
    EXPECT_EQ(MeasureProcessorClock(), GetParam().mhz);
}

// The long wait reads the counter 501 times (501,000 ticks), the overhead
// wait twice (2,000 ticks): 499,000 net ticks of 100 ns.
INSTANTIATE_TEST_SUITE_P(Counters, MeasureClockTest,
                         ::testing::Values(ClockCase{"ThreeGHz", true, 300, 2994},
                                           ClockCase{"OneGHz", true, 100, 998},
                                           ClockCase{"NoFrequency", false, 300, 0},
                                           ClockCase{"CounterRunsBackwards", true, -300, 0}),
                         [](const ::testing::TestParamInfo<ClockCase>& info) { return info.param.name; });

}  // namespace
