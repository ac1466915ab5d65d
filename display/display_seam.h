// The system calls of the display probes that Wine cannot make answer as a
// test needs (several adapters and monitors, chosen capabilities, matching
// WMI rows) go through this table. The program itself never changes it.
#pragma once

#include "framework/scoped_override.h"

#include <windows.h>
#include <d3d9.h>
#include <ddraw.h>

#include <cstdint>
#include <string>
#include <vector>

namespace display_seam {

// One Win32_VideoController row as far as the video-memory probe reads it.
struct VideoControllerRow {
    std::wstring pnpDeviceId;
    bool hasAdapterRam;
    std::uint32_t adapterRam;
};

struct Api {
    IDirect3D9*(WINAPI* createDirect3D9)(UINT sdkVersion) = &::Direct3DCreate9;
    BOOL(WINAPI* getMonitorInfo)(HMONITOR monitor, LPMONITORINFO info) = &::GetMonitorInfoW;
    BOOL(WINAPI* enumDisplayDevicesW)(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW info,
                                      DWORD flags) = &::EnumDisplayDevicesW;
    BOOL(WINAPI* enumDisplayDevicesA)(LPCSTR device, DWORD index, PDISPLAY_DEVICEA info,
                                      DWORD flags) = &::EnumDisplayDevicesA;
    // When set, used instead of DirectDrawEnumerateExA from ddraw.dll.
    LPDIRECTDRAWENUMERATEEXA directDrawEnumerate = nullptr;
    // When set, replaces the WMI query for the first 10 video controllers.
    bool (*listVideoControllers)(std::vector<VideoControllerRow>& rows) = nullptr;
    // When set, replaces the Direct3D 11 probe of multisample counts.
    std::vector<std::int32_t> (*probeSampleCounts)() = nullptr;
    // The clock measurement's counters; null reads the processor's
    // time-stamp counter.
    BOOL(WINAPI* queryPerformanceFrequency)(LARGE_INTEGER* frequency) = &::QueryPerformanceFrequency;
    BOOL(WINAPI* queryPerformanceCounter)(LARGE_INTEGER* counter) = &::QueryPerformanceCounter;
    std::uint64_t (*readTimeStampCounter)() = nullptr;
};

Api& Current();

// Replaces the table for the lifetime of the object and restores it afterwards.
class ScopedApi : public framework::ScopedOverride<Api> {
public:
    explicit ScopedApi(const Api& replacement) : ScopedOverride(Current(), replacement) {}
};

}  // namespace display_seam
