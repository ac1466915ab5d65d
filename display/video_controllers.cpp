// The video controllers as WMI lists them.
#include "display/video_memory.h"

#include "framework/handles.h"

#include <oleauto.h>
#include <wbemcli.h>

namespace {

class Bstr {
public:
    explicit Bstr(const wchar_t* text) : text_(::SysAllocString(text)) {}
    ~Bstr() { ::SysFreeString(text_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR Get() const { return text_; }

private:
    BSTR text_;
};

class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT* Put() {
        ::VariantClear(&value_);
        return &value_;
    }
    const VARIANT& Get() const { return value_; }

private:
    VARIANT value_;
};

using SetProxyBlanket = HRESULT(WINAPI*)(IUnknown*, DWORD, DWORD, OLECHAR*, DWORD, DWORD, RPC_AUTH_IDENTITY_HANDLE,
                                         DWORD);

constexpr ULONG kMaxControllers = static_cast<ULONG>(kMaxVideoControllers);
constexpr LONG kWaitMilliseconds = 5000;

display_seam::VideoControllerRow ReadRow(IWbemClassObject& object) {
    Variant pnp;
    Variant ram;
    const bool hasPnp = SUCCEEDED(object.Get(L"PNPDeviceID", 0, pnp.Put(), nullptr, nullptr));
    const bool hasRam = SUCCEEDED(object.Get(L"AdapterRAM", 0, ram.Put(), nullptr, nullptr));
    return VideoControllerRowFrom(hasPnp ? &pnp.Get() : nullptr, hasRam ? &ram.Get() : nullptr);
}

}  // namespace

display_seam::VideoControllerRow VideoControllerRowFrom(const VARIANT* pnpDeviceId, const VARIANT* adapterRam) {
    display_seam::VideoControllerRow row{L"", false, 0};
    if (pnpDeviceId && pnpDeviceId->vt == VT_BSTR && pnpDeviceId->bstrVal) {
        row.pnpDeviceId.assign(pnpDeviceId->bstrVal, ::SysStringLen(pnpDeviceId->bstrVal));
    }
    // WMI hands the uint32 property over as a signed VT_I4: the bits are the
    // same, so sizes of 2 GB and more come out right.
    if (adapterRam && (adapterRam->vt == VT_I4 || adapterRam->vt == VT_UI4)) {
        row.hasAdapterRam = true;
        row.adapterRam = adapterRam->vt == VT_I4 ? static_cast<std::uint32_t>(adapterRam->lVal) : adapterRam->ulVal;
    }
    return row;
}

bool ListVideoControllers(std::vector<display_seam::VideoControllerRow>& rows) {
    rows.clear();
    framework::ComScope com;
    framework::ComPtr<IWbemLocator> locator;
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  locator.PutVoid()))) {
        return false;
    }
    framework::ComPtr<IWbemServices> services;
    const Bstr space(L"\\\\.\\root\\cimv2");
    if (FAILED(locator->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put()))) {
        return false;
    }
    {
        framework::SystemLibrary ole32(L"ole32.dll");
        if (auto setBlanket = ole32.Find<SetProxyBlanket>("CoSetProxyBlanket")) {
            setBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        }
    }
    framework::ComPtr<IEnumWbemClassObject> controllers;
    const Bstr className(L"Win32_VideoController");
    if (FAILED(services->CreateInstanceEnum(className.Get(), 0, nullptr, controllers.Put())) || !controllers) {
        return false;
    }
    controllers->Reset();
    IWbemClassObject* objects[kMaxControllers] = {};
    ULONG returned = 0;
    controllers->Next(kWaitMilliseconds, kMaxControllers, objects, &returned);
    for (ULONG i = 0; i < returned && i < kMaxControllers; ++i) {
        framework::ComPtr<IWbemClassObject> object;
        object.Attach(objects[i]);
        if (object) rows.push_back(ReadRow(*object.Get()));
    }
    return true;
}
