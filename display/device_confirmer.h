// The hook through which the owner of the display configuration may refuse a
// device type, vertex processing and format combination.
#pragma once

#include <windows.h>
#include <d3d9.h>

class DeviceConfirmer {
public:
    virtual ~DeviceConfirmer() = default;
    // behavior: D3DCREATE_HARDWARE_VERTEXPROCESSING or _SOFTWARE_. A negative
    // result rejects the combination. Every combination is accepted unless a
    // derived class says otherwise.
    virtual HRESULT ConfirmDevice(const D3DCAPS9& caps, DWORD behavior, D3DFORMAT format);
};
