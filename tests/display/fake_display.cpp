#include "tests/display/fake_display.h"

#include <cwchar>

namespace fake_display {

namespace {

Direct3D9* g_direct3d = nullptr;
Monitors g_monitors;

IDirect3D9* WINAPI CreateFake(UINT) {
    if (g_direct3d) g_direct3d->AddRef();
    return g_direct3d;
}

BOOL WINAPI FakeGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
    auto found = g_monitors.gdiNames.find(monitor);
    if (found == g_monitors.gdiNames.end() || info->cbSize != sizeof(MONITORINFOEXW)) return FALSE;
    auto* extended = reinterpret_cast<MONITORINFOEXW*>(info);
    std::wcsncpy(extended->szDevice, found->second.c_str(), CCHDEVICENAME - 1);
    return TRUE;
}

BOOL WINAPI FakeEnumDisplayDevices(LPCWSTR device, DWORD index, PDISPLAY_DEVICEW info, DWORD) {
    if (!device || info->cb != sizeof(DISPLAY_DEVICEW)) return FALSE;
    auto found = g_monitors.devices.find(device);
    if (found == g_monitors.devices.end() || index >= found->second.size()) return FALSE;
    const MonitorDevice& entry = found->second[index];
    info->StateFlags = entry.stateFlags;
    std::wcsncpy(info->DeviceString, entry.deviceString.c_str(), 127);
    info->DeviceString[127] = L'\0';
    return TRUE;
}

}  // namespace

std::vector<Adapter> TwoMonitorsInOneGroup() {
    std::vector<Adapter> adapters;
    for (int i = 0; i < 2; ++i) {
        Adapter adapter;
        adapter.modes = Modes({{640, 480}, {1024, 768}});
        adapter.monitor = MonitorHandle(i);
        adapter.groupSize = 2;
        adapters.push_back(adapter);
    }
    return adapters;
}

std::vector<D3DDISPLAYMODE> Modes(std::initializer_list<std::pair<UINT, UINT>> sizes) {
    std::vector<D3DDISPLAYMODE> modes;
    for (const auto& size : sizes) modes.push_back(D3DDISPLAYMODE{size.first, size.second, 60, D3DFMT_X8R8G8B8});
    return modes;
}

HRESULT Direct3D9::QueryInterface(REFIID, void** object) {
    *object = nullptr;
    return E_NOINTERFACE;
}

UINT Direct3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    if (adapter >= adapters_.size() || format != D3DFMT_X8R8G8B8) return 0;
    return static_cast<UINT>(adapters_[adapter].modes.size());
}

HRESULT Direct3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
    if (adapter >= adapters_.size() || format != D3DFMT_X8R8G8B8) return D3DERR_INVALIDCALL;
    const Adapter& a = adapters_[adapter];
    if (index >= a.modes.size() || a.failingModes.count(index)) return D3DERR_INVALIDCALL;
    *mode = a.modes[index];
    return D3D_OK;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    Record(displayModeQueries_, adapter);
    if (adapter >= adapters_.size()) return D3DERR_INVALIDCALL;
    *mode = adapters_[adapter].desktop;
    return D3D_OK;
}

const DeviceTypeAnswers* Direct3D9::Answers(UINT adapter, D3DDEVTYPE type) const {
    if (adapter >= adapters_.size()) return nullptr;
    if (type == D3DDEVTYPE_HAL) return &adapters_[adapter].hal;
    if (type == D3DDEVTYPE_REF) return &adapters_[adapter].ref;
    return nullptr;
}

HRESULT Direct3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                   D3DFORMAT backBufferFormat, WINBOOL windowed) {
    const DeviceTypeAnswers* answers = Answers(adapter, type);
    if (!answers || !answers->available || windowed || displayFormat != backBufferFormat ||
        answers->rejectedFormats.count(displayFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Direct3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT, DWORD usage,
                                     D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    Record(depthFormatsTried_, checkFormat);
    const DeviceTypeAnswers* answers = Answers(adapter, type);
    if (!answers || usage != D3DUSAGE_DEPTHSTENCIL || resourceType != D3DRTYPE_SURFACE ||
        !answers->depthFormats.count(checkFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Direct3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                          D3DFORMAT renderTargetFormat, D3DFORMAT depthFormat) {
    const DeviceTypeAnswers* answers = Answers(adapter, type);
    if (!answers || adapterFormat != renderTargetFormat || !answers->depthMatches.count(depthFormat)) {
        return D3DERR_NOTAVAILABLE;
    }
    return D3D_OK;
}

HRESULT Direct3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    const DeviceTypeAnswers* answers = Answers(adapter, type);
    if (!answers) return D3DERR_INVALIDCALL;
    *caps = D3DCAPS9{};
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    caps->DevCaps = answers->devCaps;
    caps->NumberOfAdaptersInGroup = adapters_[adapter].groupSize;
    return D3D_OK;
}

HMONITOR Direct3D9::GetAdapterMonitor(UINT adapter) {
    Record(monitorQueries_, adapter);
    return adapter < adapters_.size() ? adapters_[adapter].monitor : nullptr;
}

Installed::Installed(Direct3D9* d3d, Monitors monitors, display_seam::Api base)
    : scope_([&] {
          base.createDirect3D9 = &CreateFake;
          base.getMonitorInfo = &FakeGetMonitorInfo;
          base.enumDisplayDevicesW = &FakeEnumDisplayDevices;
          return base;
      }()) {
    g_direct3d = d3d;
    g_monitors = std::move(monitors);
}

HMONITOR MonitorHandle(int number) { return reinterpret_cast<HMONITOR>(static_cast<INT_PTR>(0x7100 + number)); }

HRESULT RecordingConfirmer::ConfirmDevice(const D3DCAPS9&, DWORD behavior, D3DFORMAT format) {
    behaviors.push_back(behavior);
    return refusedBehaviors.count(behavior) || refusedFormats.count(format) ? E_FAIL : S_OK;
}

}  // namespace fake_display
