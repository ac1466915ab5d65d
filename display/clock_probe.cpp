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

// Busy-waits until the performance counter has advanced by the span.
void WaitSpan() {
    const display_seam::Api& api = display_seam::Current();
    LARGE_INTEGER frequency, start, now;
    if (!api.queryPerformanceFrequency(&frequency)) return;
    const LONGLONG ticks = frequency.QuadPart / 1000 * kSpanMilliseconds;
    api.queryPerformanceCounter(&start);
    do {
        api.queryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart < ticks);
}

// The same calls as WaitSpan without the wait: it returns unless the very
// first reading lands exactly on the span, so it costs what WaitSpan costs
// beyond the 50 ms themselves.
void WaitOverhead() {
    const display_seam::Api& api = display_seam::Current();
    LARGE_INTEGER frequency, start, now;
    if (!api.queryPerformanceFrequency(&frequency)) return;
    const LONGLONG ticks = frequency.QuadPart / 1000 * kSpanMilliseconds;
    api.queryPerformanceCounter(&start);
    do {
        api.queryPerformanceCounter(&now);
    } while (now.QuadPart - start.QuadPart == ticks);
}

}  // namespace

std::int32_t MeasureProcessorClock() {
    std::uint64_t before = TimeStampNow();
    WaitSpan();
    const auto longSpan = static_cast<std::int64_t>(TimeStampNow() - before);
    before = TimeStampNow();
    WaitOverhead();
    const auto overheadSpan = static_cast<std::int64_t>(TimeStampNow() - before);
    return ClockFromSpans(longSpan, overheadSpan);
}
