#include "display/mode_enumeration.h"

#include <cstring>

namespace {

constexpr D3DFORMAT kDepthFormats[] = {D3DFMT_D32, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D16};
constexpr D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_REF};

}  // namespace

HRESULT DeviceConfirmer::ConfirmDevice(const D3DCAPS9&, DWORD, D3DFORMAT) { return S_OK; }

void GatherCandidateModes(IDirect3D9& d3d, UINT ordinal, CandidateList& candidates) {
    const UINT modeCount = d3d.GetAdapterModeCount(ordinal, D3DFMT_X8R8G8B8);
    for (UINT k = 0; k < modeCount; ++k) {
        D3DDISPLAYMODE mode{};
        if (FAILED(d3d.EnumAdapterModes(ordinal, D3DFMT_X8R8G8B8, k, &mode))) continue;
        candidates.Offer(mode.Width, mode.Height, static_cast<std::int32_t>(mode.Format));
    }
    candidates.Sort();
}

D3DFORMAT FindDepthStencilFormat(IDirect3D9& d3d, UINT ordinal, D3DDEVTYPE type, D3DFORMAT format) {
    for (D3DFORMAT depth : kDepthFormats) {
        if (SUCCEEDED(d3d.CheckDeviceFormat(ordinal, type, format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, depth)) &&
            SUCCEEDED(d3d.CheckDepthStencilMatch(ordinal, type, format, format, depth))) {
            return depth;
        }
    }
    return D3DFMT_UNKNOWN;
}

bool AcceptFormat(IDirect3D9& d3d, UINT ordinal, const DeviceTypeRecord& record, D3DFORMAT format,
                  DeviceConfirmer& confirmer) {
    if (FAILED(d3d.CheckDeviceType(ordinal, record.deviceType, format, format, FALSE))) return false;
    const bool hardware = (record.caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0 &&
                          SUCCEEDED(confirmer.ConfirmDevice(record.caps, D3DCREATE_HARDWARE_VERTEXPROCESSING, format));
    if (!hardware && FAILED(confirmer.ConfirmDevice(record.caps, D3DCREATE_SOFTWARE_VERTEXPROCESSING, format))) {
        return false;
    }
    return FindDepthStencilFormat(d3d, ordinal, record.deviceType, format) != D3DFMT_UNKNOWN;
}

std::uint32_t BuildDeviceTypes(IDirect3D9& d3d, UINT ordinal, D3DFORMAT desktopFormat, DeviceConfirmer& confirmer,
                               DeviceTypeRecord (&records)[kMaxDeviceTypes]) {
    CandidateList candidates(static_cast<std::int32_t>(desktopFormat));
    GatherCandidateModes(d3d, ordinal, candidates);
    const FormatList& formats = candidates.formats();

    std::uint32_t typeCount = 0;
    for (D3DDEVTYPE type : kDeviceTypes) {
        DeviceTypeRecord& record = records[typeCount];
        std::memset(&record, 0, sizeof(record));
        record.deviceType = type;
        d3d.GetDeviceCaps(ordinal, type, &record.caps);

        bool accepted[kMaxFormats] = {};
        for (std::uint32_t f = 0; f < formats.count; ++f) {
            accepted[f] = AcceptFormat(d3d, ordinal, record, static_cast<D3DFORMAT>(formats.formats[f]), confirmer);
        }
        for (std::uint32_t c = 0; c < candidates.count(); ++c) {
            const CandidateMode& mode = candidates[c];
            for (std::uint32_t f = 0; f < formats.count; ++f) {
                if (formats.formats[f] != mode.Format) continue;
                // Each candidate is added at most once: the mode list never
                // outgrows the candidate list.
                if (accepted[f]) record.modes[record.modeCount++] = ModeRecord{mode.Width, mode.Height, mode.Format};
                break;
            }
        }
        if (record.modeCount != 0) ++typeCount;
    }
    return typeCount;
}
