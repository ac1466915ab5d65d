// The name a monitor is listed under.
#pragma once

#include "display/display_inventory.h"

#include <cstdint>
#include <string>

// The DeviceString of the first active monitor attached to the monitor's
// display device, else the display device's GDI name (\\.\DISPLAY2); empty
// when the monitor cannot be asked. Runs on the inventory's thread, so it
// looks up no text: the string table belongs to the dialog's thread.
void NameMonitor(HMONITOR monitor, wchar_t (&name)[kDisplayNameLength]);

// The text of the monitor list's entry for the monitor at index: its name,
// or "Monitor" and index + 1 (translated) for one without a name. On the
// dialog's thread only.
std::wstring MonitorListName(const MonitorRecord& monitor, std::uint32_t index);
