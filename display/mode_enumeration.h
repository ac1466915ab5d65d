// The device types of one adapter, HAL before REF, each with the sorted list
// of full-screen modes it can run with a depth buffer.
#pragma once

#include "display/device_confirmer.h"
#include "display/display_inventory.h"

#include <cstdint>

// The 32-bit candidate modes of the adapter, deduplicated and sorted.
void GatherCandidateModes(IDirect3D9& d3d, UINT ordinal, CandidateList& candidates);

// True when device type t can run full screen in the format with a depth
// buffer and the confirmer accepts it with hardware or software vertex
// processing.
bool AcceptFormat(IDirect3D9& d3d, UINT ordinal, const DeviceTypeRecord& record, D3DFORMAT format,
                  DeviceConfirmer& confirmer);

// The first of D32, D24X8, D24S8, D24X4S4, D16 usable with the format, or
// D3DFMT_UNKNOWN.
D3DFORMAT FindDepthStencilFormat(IDirect3D9& d3d, UINT ordinal, D3DDEVTYPE type, D3DFORMAT format);

// Fills records with the accepted device types (those with at least one mode)
// and returns how many: 0, 1 or 2.
std::uint32_t BuildDeviceTypes(IDirect3D9& d3d, UINT ordinal, D3DFORMAT desktopFormat, DeviceConfirmer& confirmer,
                               DeviceTypeRecord (&records)[kMaxDeviceTypes]);
