// The name a monitor is listed under.
#pragma once

#include "display/display_inventory.h"

#include <cstdint>

// The DeviceString of the first active monitor attached to the monitor's
// display device, else the display device's GDI name (\\.\DISPLAY2), else,
// when the monitor cannot be asked, "Monitor" and index + 1.
void NameMonitor(HMONITOR monitor, std::uint32_t index, wchar_t (&name)[kDisplayNameLength]);
