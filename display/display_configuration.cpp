#include "display/display_configuration.h"

#include "config/node.h"
#include "display/antialiasing_probe.h"
#include "display/clock_probe.h"
#include "display/display_seam.h"
#include "display/mode_enumeration.h"
#include "display/monitor_name.h"
#include "display/monitor_settings.h"
#include "display/video_memory.h"
#include "framework/handles.h"

#include <cstring>

namespace {

constexpr char kAntialiasing[] = "Antialiasing";

}  // namespace

DisplayConfiguration::DisplayConfiguration(Node& settings, DeviceConfirmer& confirmer)
    : settings_(settings), confirmer_(confirmer), inventory_() {}

HRESULT DisplayConfiguration::EnumerateDisplays() {
    inventory_.adapterCount = 0;
    inventory_.monitorCount = 0;
    framework::ComPtr<IDirect3D9> d3d;
    d3d.Attach(display_seam::Current().createDirect3D9(D3D_SDK_VERSION));
    if (!d3d) return E_FAIL;

    std::memset(&inventory_.groupCaps, 0, sizeof(inventory_.groupCaps));
    d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &inventory_.groupCaps);

    for (UINT ordinal = 0; ordinal < d3d->GetAdapterCount(); ++ordinal) {
        const std::uint32_t slot = inventory_.adapterCount;
        AdapterRecord& adapter = inventory_.adapters[slot];
        std::memset(&adapter.desktopMode, 0, sizeof(adapter.desktopMode));
        d3d->GetAdapterDisplayMode(ordinal, &adapter.desktopMode);
        adapter.deviceTypeCount =
            BuildDeviceTypes(*d3d.Get(), ordinal, adapter.desktopMode.Format, confirmer_, adapter.deviceTypes);
        if (adapter.deviceTypeCount == 0) continue;

        MonitorRecord& monitor = inventory_.monitors[slot];
        monitor.adapterOrdinal = ordinal;
        NameMonitor(d3d->GetAdapterMonitor(ordinal), monitor.displayName);
        ++inventory_.monitorCount;
        ++inventory_.adapterCount;
        if (inventory_.monitorCount == kMaxMonitors) break;
    }
    return inventory_.adapterCount == 0 ? E_FAIL : S_OK;
}

void DisplayConfiguration::ValidateMonitorChoice() {
    ConfigValue& current = settings_.Get(monitor_setting::kCurMonitor);
    if (current.AsUInt() >= inventory_.monitorCount) current = ConfigValue(std::int32_t{0});
    const std::int32_t width = settings_.Get(monitor_setting::kModeWidth).AsInt();
    const std::int32_t height = settings_.Get(monitor_setting::kModeHeight).AsInt();
    const std::int32_t format = settings_.Get(monitor_setting::kModeFormat).AsInt();
    for (std::uint32_t m = 0; m < inventory_.monitorCount; ++m) {
        SetRememberedModeIndex(m, FindMode(static_cast<std::int32_t>(m), static_cast<std::uint32_t>(width),
                                           static_cast<std::uint32_t>(height), format));
    }
}

std::uint32_t DisplayConfiguration::FindMode(std::int32_t monitor, std::uint32_t width, std::uint32_t height,
                                             std::int32_t format) const {
    const auto index = static_cast<std::uint32_t>(monitor);
    if (index >= inventory_.monitorCount) return 0;
    const AdapterRecord& adapter = inventory_.adapters[index];
    for (std::uint32_t t = 0; t < adapter.deviceTypeCount; ++t) {
        const DeviceTypeRecord& type = adapter.deviceTypes[t];
        for (std::uint32_t p = 0; p < type.modeCount; ++p) {
            const ModeRecord& mode = type.modes[p];
            if (mode.Width == width && mode.Height == height && mode.Format == format) return p;
        }
    }
    return 0;
}

DisplayConfiguration::ModeSelection DisplayConfiguration::InitialModeSelection(std::int32_t monitor,
                                                                               DesktopMode desktop) {
    ModeSelection selection{};
    selection.useDesktopRes = ReadMonitorSetting(monitor_setting::kUseDesktopRes, monitor);
    std::uint32_t width = static_cast<std::uint32_t>(ReadMonitorSetting(monitor_setting::kModeWidth, monitor));
    std::uint32_t height = static_cast<std::uint32_t>(ReadMonitorSetting(monitor_setting::kModeHeight, monitor));
    std::int32_t format = ReadMonitorSetting(monitor_setting::kModeFormat, monitor);
    if (selection.useDesktopRes != 0) {
        const D3DDISPLAYMODE mode = desktop == DesktopMode::FromInventory ? InventoryDesktopMode(monitor)
                                                                          : CurrentDesktopMode(monitor);
        width = mode.Width;
        height = mode.Height;
        format = static_cast<std::int32_t>(mode.Format);
    }
    selection.position = FindMode(monitor, width, height, format);
    return selection;
}

D3DDISPLAYMODE DisplayConfiguration::InventoryDesktopMode(std::int32_t monitor) const {
    const auto index = static_cast<std::uint32_t>(monitor);
    return index < inventory_.monitorCount ? inventory_.adapters[index].desktopMode : D3DDISPLAYMODE{};
}

D3DDISPLAYMODE DisplayConfiguration::CurrentDesktopMode(std::int32_t monitor) const {
    // The desktop mode as it is now, which may have changed since the
    // inventory was taken; all zero when it cannot be asked.
    D3DDISPLAYMODE desktop{};
    const auto index = static_cast<std::uint32_t>(monitor);
    framework::ComPtr<IDirect3D9> d3d;
    d3d.Attach(display_seam::Current().createDirect3D9(D3D_SDK_VERSION));
    if (d3d && index < inventory_.monitorCount &&
        FAILED(d3d->GetAdapterDisplayMode(inventory_.monitors[index].adapterOrdinal, &desktop))) {
        desktop = D3DDISPLAYMODE{};
    }
    return desktop;
}

std::int32_t DisplayConfiguration::ReadMonitorSetting(const char* name, std::int32_t monitor) {
    return ::ReadMonitorSetting(settings_, name, monitor);
}

void DisplayConfiguration::WriteMonitorSetting(const char* name, std::int32_t monitor, std::int32_t value) {
    ::WriteMonitorSetting(settings_, name, monitor, value);
}

std::uint32_t DisplayConfiguration::RememberedModeIndex(std::uint32_t monitor) const {
    if (monitor >= inventory_.monitorCount) return 0;
    return inventory_.adapters[monitor].deviceTypes[0].rememberedModeIndex;
}

void DisplayConfiguration::SetRememberedModeIndex(std::uint32_t monitor, std::uint32_t position) {
    if (monitor < inventory_.monitorCount) inventory_.adapters[monitor].deviceTypes[0].rememberedModeIndex = position;
}

AntialiasingList DisplayConfiguration::AntialiasingChoices() { return AntialiasingChoices(ProbeSampleCounts()); }

AntialiasingList DisplayConfiguration::AntialiasingChoices(const std::vector<std::int32_t>& sampleCounts) {
    return BuildAntialiasingList(sampleCounts, settings_.Get(kAntialiasing).AsInt());
}

std::uint32_t DisplayConfiguration::ProbeVideoMemory(const std::function<void()>& awaitInventory) const {
    return ::ProbeVideoMemory(&inventory_, awaitInventory);
}

HardwareDefaults DisplayConfiguration::ProbeHardwareDefaults() const {
    const std::uint32_t videoMemory = ProbeVideoMemory();
    return HardwareDefaultsFor(videoMemory, MeasureProcessorClock());
}

HardwareDefaults DisplayConfiguration::HardwareDefaultsFor(std::uint32_t videoMemory, std::int32_t clockMHz) {
    return ComputeHardwareDefaults(videoMemory, clockMHz, ::GetSystemMetrics(SM_CYFULLSCREEN));
}
