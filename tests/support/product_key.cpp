#include "tests/support/product_key.h"

#include "framework/handles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

namespace test_support {

RawValues ReadRawValues(HKEY root, const std::wstring& path) {
    RawValues values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | ViewOf(root, path), &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[1024];
        DWORD nameLength = 1024;
        RawValue value;
        value.data.resize(65536);
        DWORD bytes = static_cast<DWORD>(value.data.size());
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &value.type, value.data.data(), &bytes) !=
            ERROR_SUCCESS) {
            break;
        }
        value.data.resize(bytes);
        values[std::wstring(name, nameLength)] = value;
    }
    ::RegCloseKey(key);
    return values;
}

std::wstring UnterminatedText(const RawValue& value) {
    if (value.type != REG_SZ) return L"<not REG_SZ>";
    if (value.data.size() % 2 != 0) return L"<odd size>";
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / 2);
    if (!text.empty() && text.back() == L'\0') return L"<terminated>";
    return text;
}

namespace {

// The video memory probe finds its figure through WMI at once: one display
// driver drives every adapter's monitor, and WMI lists its controller with
// 256 MB. Without a figure from WMI the probe would create DirectDraw, which
// costs Wine a few hundred milliseconds at every start of a dialog.
constexpr char kDriverName[] = "\\\\.\\DISPLAY1";
constexpr char kDeviceId[] = "PCI\\VEN_1234&DEV_5678";
constexpr wchar_t kPnpDeviceId[] = L"PCI\\VEN_1234&DEV_5678\\3&1";
constexpr std::uint32_t kVideoMemory = 256u << 20;

HRESULT WINAPI EveryAdapterOnOneDriver(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD) {
    framework::ComPtr<IDirect3D9> d3d;
    d3d.Attach(display_seam::Current().createDirect3D9(D3D_SDK_VERSION));
    if (!d3d) return E_FAIL;
    char description[] = "Display";
    char driverName[sizeof(kDriverName)];
    std::memcpy(driverName, kDriverName, sizeof(kDriverName));
    for (UINT ordinal = 0; ordinal < d3d->GetAdapterCount(); ++ordinal) {
        if (!callback(nullptr, description, driverName, context, d3d->GetAdapterMonitor(ordinal))) break;
    }
    return DD_OK;
}

BOOL WINAPI OneDisplayDevice(LPCSTR device, DWORD index, PDISPLAY_DEVICEA info, DWORD) {
    if (device || index > 0) return FALSE;
    std::strcpy(info->DeviceName, kDriverName);
    std::strcpy(info->DeviceString, "Display");
    std::strcpy(info->DeviceID, kDeviceId);
    info->StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
    return TRUE;
}

bool OneVideoController(std::vector<display_seam::VideoControllerRow>& rows) {
    rows = {{kPnpDeviceId, true, kVideoMemory}};
    return true;
}

std::vector<std::int32_t> TwoFourEight() { return {2, 4, 8}; }
std::uint64_t StoppedCounter() { return 0; }

// A performance counter of 1 MHz that moves on by 10 ms at every reading, so
// that the clock measurement's 50 ms pass at once.
BOOL WINAPI QuickFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 1000000;
    return TRUE;
}
BOOL WINAPI QuickCounter(LARGE_INTEGER* counter) {
    static std::atomic<LONGLONG> now{0};
    counter->QuadPart = now += 10000;
    return TRUE;
}

// Wine builds a Direct3D 9 object afresh for every Direct3DCreate9 (a few
// hundred milliseconds: it opens a GL context to learn the adapter), and a
// dialog's start creates three. One real object, kept for the whole test
// program, gives the same answers at once; each caller gets its own reference.
IDirect3D9* WINAPI SharedDirect3D9(UINT sdkVersion) {
    static const framework::ComPtr<IDirect3D9> shared = [sdkVersion] {
        framework::ComPtr<IDirect3D9> created;
        created.Attach(::Direct3DCreate9(sdkVersion));
        return created;
    }();
    if (shared) shared->AddRef();
    return shared.Get();
}

}  // namespace

display_seam::Api QuickProbes() {
    display_seam::Api api;
    api.createDirect3D9 = &SharedDirect3D9;
    api.directDrawEnumerate = &EveryAdapterOnOneDriver;
    api.enumDisplayDevicesA = &OneDisplayDevice;
    api.listVideoControllers = &OneVideoController;
    api.probeSampleCounts = &TwoFourEight;
    api.readTimeStampCounter = &StoppedCounter;
    api.queryPerformanceFrequency = &QuickFrequency;
    api.queryPerformanceCounter = &QuickCounter;
    return api;
}

void StoreTypedText(const std::wstring& name, const std::wstring& text) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    std::wstring data = text + L'\x1';  // keeps the registry from counting a terminator
    ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

std::wstring StoredTypedText(const std::wstring& name) {
    const RawValues values = ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    const auto found = values.find(name);
    return found == values.end() ? L"<missing>" : UnterminatedText(found->second);
}

LSTATUS WINAPI OpenFailingSubkey(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
    if (path && std::wstring(path) == L"Unreadable") return ERROR_ACCESS_DENIED;
    return ::RegOpenKeyExW(root, path, options, access, key);
}

}  // namespace test_support
