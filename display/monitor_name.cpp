#include "display/monitor_name.h"

#include "display/display_seam.h"
#include "framework/decimal_text.h"
#include "i18n/translate.h"

#include <cwchar>

namespace {

template <size_t N>
void CopyName(const wchar_t* source, size_t sourceLength, wchar_t (&name)[N]) {
    const size_t length = wcsnlen(source, sourceLength < N ? sourceLength : N - 1);
    std::wmemcpy(name, source, length);
    name[length] = L'\0';
}

}  // namespace

void NameMonitor(HMONITOR monitor, wchar_t (&name)[kDisplayNameLength]) {
    const display_seam::Api& api = display_seam::Current();
    name[0] = L'\0';
    MONITORINFOEXW info{};
    info.cbSize = sizeof(info);
    const size_t deviceCapacity = sizeof(info.szDevice) / sizeof(info.szDevice[0]);
    if (!api.getMonitorInfo(monitor, &info) || info.szDevice[0] == L'\0') return;
    info.szDevice[deviceCapacity - 1] = L'\0';
    CopyName(info.szDevice, deviceCapacity, name);

    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    for (DWORD i = 0; api.enumDisplayDevicesW(info.szDevice, i, &device, 0); ++i) {
        if (device.StateFlags & DISPLAY_DEVICE_ACTIVE) {
            const size_t capacity = sizeof(device.DeviceString) / sizeof(device.DeviceString[0]);
            if (device.DeviceString[0] != L'\0') CopyName(device.DeviceString, capacity, name);
            return;
        }
        device = DISPLAY_DEVICEW{};
        device.cb = sizeof(device);
    }
}

std::wstring MonitorListName(const MonitorRecord& monitor, std::uint32_t index) {
    // The list must never show a blank entry.
    if (monitor.displayName[0] != L'\0') return monitor.displayName;
    return Translate(L"Monitor") + L" " + framework::DecimalText(std::uint64_t{index} + 1);
}
