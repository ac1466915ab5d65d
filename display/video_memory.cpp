#include "display/video_memory.h"

#include "config/product.h"
#include "config/registry.h"
#include "display/probe_rules.h"
#include "framework/handles.h"

#include <cstring>
#include <string>

namespace {

constexpr size_t kDriverNameLength = 512;

struct DriverSearch {
    HMONITOR monitor;
    char driverName[kDriverNameLength];
    bool found;
};

BOOL WINAPI OnDirectDrawDriver(GUID*, LPSTR, LPSTR driverName, LPVOID context, HMONITOR monitor) {
    auto* search = static_cast<DriverSearch*>(context);
    if (monitor == search->monitor && driverName) {
        // A later match replaces an earlier one.
        const size_t length = strnlen(driverName, kDriverNameLength - 1);
        std::memcpy(search->driverName, driverName, length);
        search->driverName[length] = '\0';
        search->found = true;
    }
    return TRUE;
}

// The Direct3D ordinal to probe for the stored monitor index.
UINT ProbeOrdinal(std::int32_t storedIndex, const DisplayInventory* inventory, UINT adapterCount) {
    if (inventory && inventory->monitorCount > 0) {
        const UINT ordinal =
            inventory->monitors[ClampAdapterIndex(storedIndex, inventory->monitorCount)].adapterOrdinal;
        return ordinal < adapterCount ? ordinal : 0;
    }
    return ClampAdapterIndex(storedIndex, adapterCount);
}

}  // namespace

HRESULT FindAdapterDeviceId(HMONITOR monitor, wchar_t (&deviceId)[kDeviceIdLength]) {
    deviceId[0] = L'\0';
    const display_seam::Api& api = display_seam::Current();
    framework::SystemLibrary ddraw(L"ddraw.dll");
    if (!ddraw) return E_FAIL;
    LPDIRECTDRAWENUMERATEEXA enumerate = api.directDrawEnumerate;
    if (!enumerate) enumerate = ddraw.Find<LPDIRECTDRAWENUMERATEEXA>("DirectDrawEnumerateExA");

    DriverSearch search{monitor, {}, false};
    if (enumerate) enumerate(&OnDirectDrawDriver, &search, DDENUM_ATTACHEDSECONDARYDEVICES);
    if (!search.found) return E_FAIL;

    DISPLAY_DEVICEA device{};
    device.cb = sizeof(device);
    for (DWORD i = 0; api.enumDisplayDevicesA(nullptr, i, &device, 0); ++i) {
        const bool usable = (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) == 0 &&
                            (device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0;
        // The driver fills the fixed arrays and need not end them with a NUL.
        char name[sizeof(device.DeviceName) + 1];
        const size_t nameLength = strnlen(device.DeviceName, sizeof(device.DeviceName));
        std::memcpy(name, device.DeviceName, nameLength);
        name[nameLength] = '\0';
        if (usable && ::lstrcmpiA(name, search.driverName) == 0) {
            const size_t idLength = strnlen(device.DeviceID, sizeof(device.DeviceID));
            const int length = ::MultiByteToWideChar(CP_ACP, 0, device.DeviceID, static_cast<int>(idLength), deviceId,
                                                     static_cast<int>(kDeviceIdLength - 1));
            // An empty identifier would match every controller's: the
            // adapter is as unknown as when no device matched.
            if (length <= 0) {
                deviceId[0] = L'\0';
                return E_FAIL;
            }
            deviceId[length] = L'\0';
            return S_OK;
        }
        device = DISPLAY_DEVICEA{};
        device.cb = sizeof(device);
    }
    return E_FAIL;
}

bool FindControllerRam(const std::vector<display_seam::VideoControllerRow>& rows, std::wstring_view deviceId,
                       std::uint32_t& bytes) {
    bytes = 0;
    // Every identifier contains the empty one: it would pick an arbitrary
    // controller.
    if (deviceId.empty()) return false;
    for (size_t i = 0; i < rows.size() && i < kMaxVideoControllers; ++i) {
        const display_seam::VideoControllerRow& row = rows[i];
        if (row.pnpDeviceId.find(deviceId) == std::wstring::npos) continue;
        if (!row.hasAdapterRam) return false;
        bytes = row.adapterRam;
        return true;
    }
    return false;
}

HRESULT QueryAdapterRam(HMONITOR monitor, std::uint32_t& bytes) {
    bytes = 0;
    wchar_t deviceId[kDeviceIdLength];
    // Without an identifier no controller can match: WMI is not asked, which
    // also spares its wait of up to 5 s.
    if (FAILED(FindAdapterDeviceId(monitor, deviceId))) return E_FAIL;
    std::vector<display_seam::VideoControllerRow> rows;
    auto list = display_seam::Current().listVideoControllers;
    if (!(list ? list : &ListVideoControllers)(rows)) return E_FAIL;
    return FindControllerRam(rows, deviceId, bytes) ? S_OK : E_FAIL;
}

std::uint32_t DirectDrawVideoMemory() {
    framework::SystemLibrary ddraw(L"ddraw.dll");
    auto create = ddraw.Find<decltype(&::DirectDrawCreateEx)>("DirectDrawCreateEx");
    if (!create) return 0;
    framework::ComPtr<IDirectDraw7> directDraw;
    if (FAILED(create(nullptr, directDraw.PutVoid(), IID_IDirectDraw7, nullptr)) || !directDraw) return 0;
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_VIDEOMEMORY;
    DWORD total = 0;
    if (FAILED(directDraw->GetAvailableVidMem(&caps, &total, nullptr))) return 0;
    return total;
}

std::uint32_t ProbeVideoMemory(const DisplayInventory* inventory, const std::function<void()>& awaitInventory) {
    framework::ComPtr<IDirect3D9> d3d;
    d3d.Attach(display_seam::Current().createDirect3D9(D3D_SDK_VERSION));
    if (d3d) {
        // The monitor saved at the last OK, not the one shown in an open dialog.
        std::wstring stored;
        std::int32_t index = 0;
        if (SUCCEEDED(ReadRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"CurMonitor", stored, true))) {
            index = ParseStoredMonitorIndex(stored);
        }
        if (awaitInventory) awaitInventory();
        const HMONITOR monitor = d3d->GetAdapterMonitor(ProbeOrdinal(index, inventory, d3d->GetAdapterCount()));
        d3d.Reset();
        std::uint32_t bytes = 0;
        if (SUCCEEDED(QueryAdapterRam(monitor, bytes)) && bytes != 0) return bytes;
    }
    return DirectDrawVideoMemory();
}
