// The multisample counts the default adapter supports, asked of Direct3D 11.
#pragma once

#include <cstdint>
#include <vector>

// Counts from 2 to 31 with at least one quality level for R8G8B8A8_UNORM, in
// ascending order; empty when no hardware device can be created.
std::vector<std::int32_t> ProbeSampleCounts();
