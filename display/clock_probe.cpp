#include "display/clock_probe.h"

#include "display/display_seam.h"
#include "display/probe_rules.h"

#include <intrin.h>

namespace {

constexpr LONGLONG kSpanMilliseconds = 50;

std::uint64_t TimeStampNow() {
    const display_seam::Api& api = display_seam::Current();
    return api.readTimeStampCounter ? api.readTimeStampCounter() : __rdtsc();
}

// Reads the performance counter until it has advanced by the span
// (untilSpan), or - for the overhead - until a reading differs from the start
// by anything but exactly the span, which the very first reading almost
// always does: then it costs what the wait costs beyond the 50 ms themselves.
void SpinCounter(bool untilSpan) {
    const display_seam::Api& api = display_seam::Current();
    LARGE_INTEGER frequency, start, now;
    if (!api.queryPerformanceFrequency(&frequency)) return;
    const LONGLONG ticks = frequency.QuadPart / 1000 * kSpanMilliseconds;
    api.queryPerformanceCounter(&start);
    for (;;) {
        api.queryPerformanceCounter(&now);
        const LONGLONG elapsed = now.QuadPart - start.QuadPart;
        if (untilSpan ? elapsed >= ticks : elapsed != ticks) return;
    }
}

}  // namespace

std::int32_t MeasureProcessorClock() {
    std::uint64_t before = TimeStampNow();
    SpinCounter(true);
    const auto longSpan = static_cast<std::int64_t>(TimeStampNow() - before);
    before = TimeStampNow();
    SpinCounter(false);
    const auto overheadSpan = static_cast<std::int64_t>(TimeStampNow() - before);
    return ClockFromSpans(longSpan, overheadSpan);
}
