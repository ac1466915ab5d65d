// The entries of the antialiasing quality list and the one to select, worked
// out from the supported sample counts so that the dialog only copies them
// into its combo box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::int32_t kMinSampleCount = 2;
inline constexpr std::int32_t kMaxSampleCount = 31;

struct AntialiasingEntry {
    std::wstring text;        // "4x"
    std::int32_t sampleCount;  // the entry's item data
};

struct AntialiasingList {
    // In the order a sorted combo box shows them: by text, so 16x before 2x.
    std::vector<AntialiasingEntry> entries;
    // The entry to select; -1 when the list is empty.
    std::int32_t selected = -1;
};

// supportedCounts: sample counts the hardware can run (others in 2..31 and
// repeats are ignored). The entry for wanted is selected, or the top entry
// when there is none (0 off, 1 on without a count yet).
AntialiasingList BuildAntialiasingList(const std::vector<std::int32_t>& supportedCounts, std::int32_t wanted);
