// The per-monitor copies of the display-mode settings: the plain name for
// monitor 0 when writing, the name followed by the monitor index otherwise.
#pragma once

#include <cstdint>

class Node;

namespace monitor_setting {
inline constexpr char kUseDesktopRes[] = "UseDesktopRes";
inline constexpr char kModeWidth[] = "ModeWidth";
inline constexpr char kModeHeight[] = "ModeHeight";
inline constexpr char kModeFormat[] = "ModeFormat";
inline constexpr char kCurMonitor[] = "CurMonitor";
}  // namespace monitor_setting

// The integer stored for monitor n under name + n, or under the plain name
// when that entry is unset (a monitor never configured on its own).
std::int32_t ReadMonitorSetting(Node& settings, const char* name, std::int32_t monitor);

// Stores an integer under name + n, or under the plain name for monitor 0
// (and any non-positive index).
void WriteMonitorSetting(Node& settings, const char* name, std::int32_t monitor, std::int32_t value);
