#include "display/antialiasing_probe.h"

#include "display/antialiasing_list.h"
#include "display/display_seam.h"
#include "framework/handles.h"

#include <d3d11.h>

std::vector<std::int32_t> ProbeSampleCounts() {
    if (auto fake = display_seam::Current().probeSampleCounts) return fake();
    std::vector<std::int32_t> counts;
    framework::ComPtr<ID3D11Device> device;
    framework::ComPtr<ID3D11DeviceContext> context;
    if (FAILED(::D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, nullptr, 0, D3D11_SDK_VERSION,
                                   device.Put(), nullptr, context.Put()))) {
        return counts;
    }
    for (std::int32_t c = kMinSampleCount; c <= kMaxSampleCount; ++c) {
        UINT levels = 0;
        if (SUCCEEDED(device->CheckMultisampleQualityLevels(DXGI_FORMAT_R8G8B8A8_UNORM, static_cast<UINT>(c),
                                                            &levels)) &&
            levels > 0) {
            counts.push_back(c);
        }
    }
    return counts;
}
