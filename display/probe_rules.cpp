#include "display/probe_rules.h"

#include <limits>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

std::int32_t ParseStoredMonitorIndex(std::wstring_view text) {
    if (text.size() < 2) return 0;
    text.remove_prefix(2);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return value > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : static_cast<std::int32_t>(value);
}

std::uint32_t ClampAdapterIndex(std::int32_t index, std::uint32_t adapterCount) {
    const auto unsignedIndex = static_cast<std::uint32_t>(index);
    return unsignedIndex < adapterCount ? unsignedIndex : 0;
}

std::int32_t ClockFromSpan(std::int64_t cycles, std::int64_t ticks, std::int64_t frequency) {
    // A counter read on two processors can go backwards, and its unsigned
    // difference then arrives as a huge negative count: no clock can be told
    // from it. The extended precision holds the products exactly, so a whole
    // result is not cut to the one below.
    if (cycles < 0 || ticks <= 0 || frequency <= 0) return 0;
    const long double mhz = static_cast<long double>(cycles) * static_cast<long double>(frequency) /
                            (static_cast<long double>(ticks) * 1000000.0L);
    if (mhz >= static_cast<long double>(std::numeric_limits<std::int32_t>::max())) return 0;
    return static_cast<std::int32_t>(mhz);
}

HardwareDefaults ComputeHardwareDefaults(std::uint32_t videoMemory, std::int32_t clockMHz,
                                         std::int32_t screenHeight) {
    const std::uint32_t mb = videoMemory >> 20;
    const auto mhz = static_cast<std::uint32_t>(clockMHz);
    const auto height = static_cast<std::uint32_t>(screenHeight);
    HardwareDefaults defaults;
    defaults.highQualityTextures = (mb > 400 && height > 1000) ? 1 : 0;
    defaults.highQualityGraphics = (mhz > 2000 && mb > 400) ? 1 : 0;
    defaults.antialiasing = (mhz > 3000 && mb >= 2500) ? 1 : 0;
    return defaults;
}
