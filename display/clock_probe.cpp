#include "display/clock_probe.h"

#include "display/display_seam.h"
#include "display/probe_rules.h"

#include <intrin.h>

namespace {

constexpr LONGLONG kSpanMilliseconds = 50;
// Readings taken at each end of the span; the tightest one counts.
constexpr int kReadingsPerEnd = 5;

// One time-stamp reading between two performance-counter readings: the
// time-stamp was read somewhere between the two.
struct Reading {
    LONGLONG before;
    std::uint64_t timeStamp;
    LONGLONG after;
};

std::uint64_t TimeStampNow() {
    const display_seam::Api& api = display_seam::Current();
    return api.readTimeStampCounter ? api.readTimeStampCounter() : __rdtsc();
}

LONGLONG CounterNow() {
    LARGE_INTEGER now;
    display_seam::Current().queryPerformanceCounter(&now);
    return now.QuadPart;
}

Reading ReadBetweenCounters() {
    Reading reading;
    reading.before = CounterNow();
    reading.timeStamp = TimeStampNow();
    reading.after = CounterNow();
    return reading;
}

// The thread can be pre-empted between any two readings, while the other
// probes and the dialog's start load the processor. A pause inside one
// bracket only widens that one: of a few taken in a row, the narrowest is
// the one that was not paused.
Reading TightestReading() {
    Reading best = ReadBetweenCounters();
    for (int i = 1; i < kReadingsPerEnd; ++i) {
        const Reading next = ReadBetweenCounters();
        if (next.after - next.before < best.after - best.before) best = next;
    }
    return best;
}

}  // namespace

std::int32_t MeasureProcessorClock() {
    LARGE_INTEGER frequency;
    if (!display_seam::Current().queryPerformanceFrequency(&frequency)) return 0;
    const LONGLONG ticks = frequency.QuadPart / 1000 * kSpanMilliseconds;
    const Reading start = TightestReading();
    while (CounterNow() - start.after < ticks) {
    }
    const Reading end = TightestReading();
    // The cycles between the two time-stamps over the longest time that can
    // have passed between them: a pause the brackets could not avoid makes
    // the clock read lower, never higher.
    return ClockFromSpan(static_cast<std::int64_t>(end.timeStamp - start.timeStamp), end.after - start.before,
                         frequency.QuadPart);
}
