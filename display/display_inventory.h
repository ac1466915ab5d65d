// The display hardware as the settings dialog sees it: adapters that can show
// a usable full-screen mode, their accepted device types and mode lists, and
// the monitor each one drives. Fixed tables: nothing is allocated per entry.
#pragma once

#include "display/mode_list.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdint>

inline constexpr std::uint32_t kMaxDeviceTypes = 2;
inline constexpr std::uint32_t kMaxAdapterSlots = 10;
// Every kept adapter takes a monitor slot too, so the tenth adapter slot is
// never filled.
inline constexpr std::uint32_t kMaxMonitors = 9;
inline constexpr std::uint32_t kDisplayNameLength = 128;

struct DeviceTypeRecord {
    D3DDEVTYPE deviceType;
    D3DCAPS9 caps;
    ModeRecord modes[kMaxModes];
    std::uint32_t modeCount;
    // Position in this list of the mode last chosen; only the first device
    // type's is used.
    std::uint32_t rememberedModeIndex;
};

struct AdapterRecord {
    D3DDISPLAYMODE desktopMode;
    DeviceTypeRecord deviceTypes[kMaxDeviceTypes];
    std::uint32_t deviceTypeCount;
};

struct MonitorRecord {
    wchar_t displayName[kDisplayNameLength];
    // The Direct3D ordinal of the adapter: differs from the monitor's index
    // once an adapter without usable modes has been passed over.
    UINT adapterOrdinal;
};

struct DisplayInventory {
    D3DCAPS9 groupCaps;  // of adapter 0, HAL; only NumberOfAdaptersInGroup is used
    AdapterRecord adapters[kMaxAdapterSlots];
    std::uint32_t adapterCount = 0;
    MonitorRecord monitors[kMaxMonitors];  // monitor i belongs to adapters[i]
    std::uint32_t monitorCount = 0;
};
