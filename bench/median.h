// The median of a benchmark's samples: the middle one, or the mean of the two
// middle ones for an even count; 0 for none.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
