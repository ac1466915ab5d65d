#include "display/antialiasing_list.h"

#include "framework/decimal_text.h"

#include <algorithm>

AntialiasingList BuildAntialiasingList(const std::vector<std::int32_t>& supportedCounts, std::int32_t wanted) {
    AntialiasingList list;
    bool seen[kMaxSampleCount + 1] = {};
    for (std::int32_t count : supportedCounts) {
        if (count < kMinSampleCount || count > kMaxSampleCount || seen[count]) continue;
        seen[count] = true;
        list.entries.push_back(AntialiasingEntry{framework::DecimalText(count) + L"x", count});
    }
    // The texts are digits followed by 'x': code-unit order is the order the
    // combo box's case-insensitive sort gives them.
    std::sort(list.entries.begin(), list.entries.end(),
              [](const AntialiasingEntry& a, const AntialiasingEntry& b) { return a.text < b.text; });
    if (list.entries.empty()) return list;
    list.selected = 0;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].sampleCount == wanted) list.selected = static_cast<std::int32_t>(i);
    }
    return list;
}
