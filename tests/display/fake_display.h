// A made-up display system for the tests: a fake IDirect3D9 with chosen
// adapters, modes and answers, and monitors and display devices behind the
// display seam. Install() routes the display code to it for one scope.
#pragma once

#include "display/device_confirmer.h"
#include "display/display_seam.h"

#include <windows.h>
#include <d3d9.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace fake_display {

struct DeviceTypeAnswers {
    bool available = true;               // CheckDeviceType for every format
    std::set<D3DFORMAT> rejectedFormats;  // CheckDeviceType fails for these
    std::set<D3DFORMAT> depthFormats{D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};  // CheckDeviceFormat
    std::set<D3DFORMAT> depthMatches{D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};  // CheckDepthStencilMatch
    DWORD devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
};

inline DeviceTypeAnswers Unavailable() {
    DeviceTypeAnswers answers;
    answers.available = false;
    return answers;
}

struct Adapter {
    D3DDISPLAYMODE desktop{1280, 1024, 60, D3DFMT_X8R8G8B8};
    std::vector<D3DDISPLAYMODE> modes;  // what EnumAdapterModes reports for X8R8G8B8
    std::set<UINT> failingModes;        // EnumAdapterModes fails at these indexes
    DeviceTypeAnswers hal;
    DeviceTypeAnswers ref = Unavailable();
    HMONITOR monitor = nullptr;
    UINT groupSize = 1;  // NumberOfAdaptersInGroup
};

// Modes of 60 Hz in X8R8G8B8.
std::vector<D3DDISPLAYMODE> Modes(std::initializer_list<std::pair<UINT, UINT>> sizes);

class Direct3D9 : public IDirect3D9 {
public:
    explicit Direct3D9(std::vector<Adapter> adapters) : adapters_(std::move(adapters)) {}

    std::vector<Adapter>& adapters() { return adapters_; }
    ULONG references() const { return static_cast<ULONG>(references_); }
    // Ordinals asked about, in call order.
    const std::vector<UINT>& monitorQueries() const { return monitorQueries_; }
    const std::vector<UINT>& displayModeQueries() const { return displayModeQueries_; }
    // Depth formats tried with CheckDeviceFormat, in call order.
    const std::vector<D3DFORMAT>& depthFormatsTried() const { return depthFormatsTried_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override;
    // The settings dialog's probes use one object from several threads.
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(::InterlockedDecrement(&references_)); }
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void*) override { return E_NOTIMPL; }
    UINT STDMETHODCALLTYPE GetAdapterCount() override { return static_cast<UINT>(adapters_.size()); }
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT, DWORD, D3DADAPTER_IDENTIFIER9*) override {
        return E_NOTIMPL;
    }
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT index,
                                               D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat,
                                              D3DFORMAT backBufferFormat, WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                                D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT, D3DDEVTYPE, D3DFORMAT, WINBOOL, D3DMULTISAMPLE_TYPE,
                                                         DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat, D3DFORMAT depthFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*,
                                           IDirect3DDevice9**) override {
        return E_NOTIMPL;
    }

private:
    const DeviceTypeAnswers* Answers(UINT adapter, D3DDEVTYPE type) const;
    template <typename Value>
    void Record(std::vector<Value>& calls, Value value) {
        ::AcquireSRWLockExclusive(&recording_);
        calls.push_back(value);
        ::ReleaseSRWLockExclusive(&recording_);
    }

    std::vector<Adapter> adapters_;
    LONG references_ = 1;
    SRWLOCK recording_ = SRWLOCK_INIT;
    std::vector<UINT> monitorQueries_;
    std::vector<UINT> displayModeQueries_;
    std::vector<D3DFORMAT> depthFormatsTried_;
};

struct MonitorDevice {
    DWORD stateFlags;
    std::wstring deviceString;
};

// What GetMonitorInfoW and EnumDisplayDevicesW answer.
struct Monitors {
    std::map<HMONITOR, std::wstring> gdiNames;  // missing: GetMonitorInfoW fails
    std::map<std::wstring, std::vector<MonitorDevice>> devices;
};

// Routes the display code to the fake (null: Direct3D 9 cannot be created)
// and to the monitors while the object lives.
class Installed {
public:
    Installed(Direct3D9* d3d, Monitors monitors = {}, display_seam::Api base = display_seam::Api());

private:
    display_seam::ScopedApi scope_;
};

HMONITOR MonitorHandle(int number);

// Two monitors in one adapter group, each with 640 x 480 and 1024 x 768.
std::vector<Adapter> TwoMonitorsInOneGroup();

// Records what the display code asks and refuses chosen vertex processing.
class RecordingConfirmer : public DeviceConfirmer {
public:
    HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format) override;

    std::set<DWORD> refusedBehaviors;
    std::set<D3DFORMAT> refusedFormats;
    std::vector<DWORD> behaviors;
};

}  // namespace fake_display
