// The processor clock, measured with the time-stamp counter over 50 ms.
#pragma once

#include <cstdint>

// MHz; 0 when it cannot be measured.
std::int32_t MeasureProcessorClock();
