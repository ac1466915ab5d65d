// The arithmetic of the hardware probes, apart from the probing itself: the
// monitor choice as the probe reads it from the registry, the clock figure,
// and the three defaults that follow from memory, clock and screen height.
#pragma once

#include <cstdint>
#include <string_view>

// The integer after the first two characters of a stored typed-text value
// ("2: 1" gives 1): leading blanks and one sign allowed, reading stops at the
// first non-digit, no digits give 0. Texts shorter than two characters give 0.
// Out-of-range numbers saturate, as the C library's strtol does.
std::int32_t ParseStoredMonitorIndex(std::wstring_view text);

// The adapter to probe for a stored monitor index: the index itself when it
// names one of adapterCount adapters (compared unsigned, so negative numbers
// are out of range), else 0.
std::uint32_t ClampAdapterIndex(std::int32_t index, std::uint32_t adapterCount);

// MHz from the time-stamp counter's cycles over a span of the performance
// counter's ticks at its frequency (ticks per second). A negative or zero
// count, or a result that does not fit (a counter that jumped between
// processors), reads as 0, "unknown".
std::int32_t ClockFromSpan(std::int64_t cycles, std::int64_t ticks, std::int64_t frequency);

struct HardwareDefaults {
    std::int32_t highQualityTextures;
    std::int32_t highQualityGraphics;
    std::int32_t antialiasing;  // 1: on, no sample count chosen yet
};

// videoMemory in bytes (0 unknown), clock in MHz, screenHeight the client
// height of a full-screen window in pixels. All comparisons are unsigned.
HardwareDefaults ComputeHardwareDefaults(std::uint32_t videoMemory, std::int32_t clockMHz,
                                         std::int32_t screenHeight);
