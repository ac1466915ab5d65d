// How much video memory the adapter of the chosen monitor has: WMI's
// AdapterRAM of the matching video controller, else DirectDraw's total.
#pragma once

#include "display/display_inventory.h"
#include "display/display_seam.h"

#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

inline constexpr size_t kDeviceIdLength = 512;
// WMI is asked for this many controllers; any further ones are not examined.
inline constexpr size_t kMaxVideoControllers = 10;

// The plug-and-play identifier of the display adapter driving the monitor.
HRESULT FindAdapterDeviceId(HMONITOR monitor, wchar_t (&deviceId)[kDeviceIdLength]);

// S_OK and the AdapterRAM of the video controller of the monitor's adapter,
// or E_FAIL and 0.
HRESULT QueryAdapterRam(HMONITOR monitor, std::uint32_t& bytes);

// Of the first 10 rows, the first controller whose PNPDeviceID contains deviceId decides: true and
// its AdapterRAM when it has one. An empty deviceId matches nothing.
bool FindControllerRam(const std::vector<display_seam::VideoControllerRow>& rows, std::wstring_view deviceId,
                       std::uint32_t& bytes);

// One controller row from the properties WMI handed over: PNPDeviceID as a
// string, AdapterRAM as a signed or unsigned 32-bit integer. A null pointer
// stands for a property WMI did not give; any other type counts as missing.
display_seam::VideoControllerRow VideoControllerRowFrom(const VARIANT* pnpDeviceId, const VARIANT* adapterRam);

// The first 10 Win32_VideoController rows from WMI; false when WMI fails.
bool ListVideoControllers(std::vector<display_seam::VideoControllerRow>& rows);

// DirectDraw's total video memory of the primary display driver; 0 on failure.
std::uint32_t DirectDrawVideoMemory();

// Bytes of video memory of the adapter of the monitor stored in CurMonitor
// at the last OK; 0 when every method fails. With an inventory, the stored
// monitor index is looked up there to find its adapter's Direct3D ordinal.
// awaitInventory, when given, is called just before the inventory is first
// read, so that the probe can start while another thread still takes it.
std::uint32_t ProbeVideoMemory(const DisplayInventory* inventory = nullptr,
                               const std::function<void()>& awaitInventory = {});
