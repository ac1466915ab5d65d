// The arithmetic of the display code on any numbers: the candidate modes of
// an adapter and their order, the text of a mode, the stored monitor choice,
// the clock from two counter spans, the hardware tiers and the antialiasing
// list.
#include "display/antialiasing_list.h"
#include "display/mode_list.h"
#include "display/probe_rules.h"
#include "tests/fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cwchar>
#include <limits>
#include <string>
#include <vector>

namespace {

void CheckCandidates(FuzzedDataProvider& input) {
    const auto desktopFormat = input.ConsumeIntegral<std::int32_t>();
    CandidateList candidates(desktopFormat);
    const auto offers = input.ConsumeIntegralInRange<int>(0, 300);
    for (int i = 0; i < offers && input.remaining_bytes() > 0; ++i) {
        // Small numbers around the limits as often as any.
        const std::uint32_t width = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(600, 700)
                                                        : input.ConsumeIntegral<std::uint32_t>();
        const std::uint32_t height = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(440, 520)
                                                         : input.ConsumeIntegral<std::uint32_t>();
        const std::int32_t format = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(20, 25)
                                                        : input.ConsumeIntegral<std::int32_t>();
        const std::uint32_t before = candidates.count();
        const bool taken = candidates.Offer(width, height, format);
        FUZZ_CHECK(candidates.count() == before + (taken ? 1 : 0));
        if (width < kMinModeWidth || height < kMinModeHeight) FUZZ_CHECK(!taken);
    }
    candidates.Sort();

    const FormatList& formats = candidates.formats();
    FUZZ_CHECK(candidates.count() <= kMaxCandidates);
    FUZZ_CHECK(formats.count >= 1 && formats.count <= kMaxFormats && formats.formats[0] == desktopFormat);
    for (std::uint32_t i = 0; i < formats.count; ++i) {
        for (std::uint32_t j = i + 1; j < formats.count; ++j) FUZZ_CHECK(formats.formats[i] != formats.formats[j]);
    }
    for (std::uint32_t i = 0; i < candidates.count(); ++i) {
        const CandidateMode& mode = candidates[i];
        FUZZ_CHECK(mode.Width >= kMinModeWidth && mode.Height >= kMinModeHeight && mode.RefreshRate == 0);
        FUZZ_CHECK(formats.Contains(mode.Format));
        // Strictly ordered: sorted and without repeats.
        if (i > 0) FUZZ_CHECK(ModeOrderLess(candidates[i - 1], mode) && !ModeOrderLess(mode, candidates[i - 1]));

        const std::int32_t depth = ColourDepth(mode.Format);
        FUZZ_CHECK(depth == 0 || depth == 16 || depth == 32);
        const std::wstring text = FormatModeText(ModeRecord{mode.Width, mode.Height, mode.Format});
        const std::wstring tail = L" x " + std::to_wstring(depth);
        FUZZ_CHECK(text.size() > tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0);
    }
}

void CheckMonitorIndex(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(40);
    const std::wstring text(bytes.begin(), bytes.end());
    const std::int32_t index = ParseStoredMonitorIndex(text);
    // The C library's reading of the same ASCII text, saturated to 32 bits.
    bool ascii = true;
    for (const char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && text.size() >= 2) {
        const std::wstring number = text.substr(2);
        long expected = std::wcstol(number.c_str(), nullptr, 10);
        if (expected > INT32_MAX) expected = INT32_MAX;
        if (expected < INT32_MIN) expected = INT32_MIN;
        FUZZ_CHECK(index == expected);
    }
    const auto adapters = input.ConsumeIntegral<std::uint32_t>();
    const std::uint32_t adapter = ClampAdapterIndex(index, adapters);
    FUZZ_CHECK(adapter == 0 || adapter < adapters);
    if (index >= 0 && static_cast<std::uint32_t>(index) < adapters) FUZZ_CHECK(adapter == static_cast<std::uint32_t>(index));
}

void CheckClock(FuzzedDataProvider& input) {
    const auto cycles = input.ConsumeIntegral<std::int64_t>();
    const auto ticks = input.ConsumeIntegral<std::int64_t>();
    const auto frequency = input.ConsumeIntegral<std::int64_t>();
    const std::int32_t mhz = ClockFromSpan(cycles, ticks, frequency);
    FUZZ_CHECK(mhz >= 0);
    if (cycles < 0 || ticks <= 0 || frequency <= 0) FUZZ_CHECK(mhz == 0);
    // Within one of the exact quotient wherever that is a 32-bit number.
    if (cycles >= 0 && ticks > 0 && frequency > 0 && cycles < (std::int64_t{1} << 31) &&
        frequency < (std::int64_t{1} << 31) && ticks < (std::int64_t{1} << 40)) {
        const std::int64_t exact = cycles * frequency / (ticks * 1000000);
        if (exact < INT32_MAX) FUZZ_CHECK(mhz == exact || mhz == exact + 1 || mhz + 1 == exact);
    }
    // A longer span of the same cycles (a pause inside a bracket) never reads higher.
    if (mhz != 0 && ticks < INT64_MAX) FUZZ_CHECK(ClockFromSpan(cycles, ticks + 1, frequency) <= mhz);
}

void CheckTiers(FuzzedDataProvider& input) {
    const auto memory = input.ConsumeIntegral<std::uint32_t>();
    const auto moreMemory = input.ConsumeIntegralInRange<std::uint32_t>(memory, UINT32_MAX);
    const auto mhz = input.ConsumeIntegral<std::int32_t>();
    const auto height = input.ConsumeIntegral<std::int32_t>();
    const HardwareDefaults tiers = ComputeHardwareDefaults(memory, mhz, height);
    const HardwareDefaults more = ComputeHardwareDefaults(moreMemory, mhz, height);
    for (const std::int32_t tier : {tiers.highQualityTextures, tiers.highQualityGraphics, tiers.antialiasing}) {
        FUZZ_CHECK(tier == 0 || tier == 1);
    }
    // More memory never lowers a tier.
    FUZZ_CHECK(more.highQualityTextures >= tiers.highQualityTextures);
    FUZZ_CHECK(more.highQualityGraphics >= tiers.highQualityGraphics);
    FUZZ_CHECK(more.antialiasing >= tiers.antialiasing);
    // Nothing is on without a known memory size.
    if (memory >> 20 == 0) FUZZ_CHECK(tiers.highQualityTextures == 0 && tiers.highQualityGraphics == 0);
}

void CheckAntialiasing(FuzzedDataProvider& input) {
    std::vector<std::int32_t> counts;
    const auto n = input.ConsumeIntegralInRange<int>(0, 40);
    for (int i = 0; i < n; ++i) {
        counts.push_back(input.ConsumeBool() ? input.ConsumeIntegralInRange<std::int32_t>(-1, 33)
                                             : input.ConsumeIntegral<std::int32_t>());
    }
    const auto wanted = input.ConsumeIntegralInRange<std::int32_t>(-1, 33);
    const AntialiasingList list = BuildAntialiasingList(counts, wanted);
    bool wantedOffered = false;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const AntialiasingEntry& entry = list.entries[i];
        FUZZ_CHECK(entry.sampleCount >= kMinSampleCount && entry.sampleCount <= kMaxSampleCount);
        FUZZ_CHECK(entry.text == std::to_wstring(entry.sampleCount) + L"x");
        if (i > 0) FUZZ_CHECK(list.entries[i - 1].text < entry.text);
        bool supported = false;
        for (const std::int32_t count : counts) supported = supported || count == entry.sampleCount;
        FUZZ_CHECK(supported);
        wantedOffered = wantedOffered || entry.sampleCount == wanted;
    }
    for (const std::int32_t count : counts) {
        if (count < kMinSampleCount || count > kMaxSampleCount) continue;
        bool listed = false;
        for (const AntialiasingEntry& entry : list.entries) listed = listed || entry.sampleCount == count;
        FUZZ_CHECK(listed);
    }
    if (list.entries.empty()) {
        FUZZ_CHECK(list.selected == -1);
    } else {
        FUZZ_CHECK(list.selected >= 0 && static_cast<std::size_t>(list.selected) < list.entries.size());
        FUZZ_CHECK(wantedOffered ? list.entries[list.selected].sampleCount == wanted : list.selected == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    switch (input.ConsumeIntegralInRange<int>(0, 4)) {
        case 0: CheckCandidates(input); break;
        case 1: CheckMonitorIndex(input); break;
        case 2: CheckClock(input); break;
        case 3: CheckTiers(input); break;
        case 4: CheckAntialiasing(input); break;
    }
    return 0;
}
