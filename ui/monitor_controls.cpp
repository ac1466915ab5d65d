// The monitor group of the settings dialog: the monitor list, the blank-screen
// box and the resolution controls. Each change goes into the tree at once;
// only OK takes the tree to the registry.
#include "ui/settings_dlg_base.h"

#include "config/settings_schema.h"
#include "display/monitor_name.h"
#include "display/monitor_settings.h"
#include "framework/controls.h"
#include "i18n/translate.h"

#include <commctrl.h>

namespace {

// Monitor-list item data from this value on stand for the multi-monitor mode.
constexpr LRESULT kMultiMonitorItem = 1000;

}  // namespace

void CSettingsDlgBase::FillMonitorControls() {
    ::SendMessageW(monitorList_, CB_RESETCONTENT, 0, 0);
    ::SendMessageW(blankScreens_, BM_SETCHECK, static_cast<WPARAM>(settings.Get(setting::kShowBlackScreens).AsInt()),
                   0);
    const DisplayInventory& inventory = display_.inventory();
    const BOOL several = inventory.monitorCount > 1;
    ::EnableWindow(blankScreens_, several);
    ::EnableWindow(monitorList_, several);

    const std::int32_t current = settings.Get(monitor_setting::kCurMonitor).AsInt();
    for (std::uint32_t i = 0; i < inventory.monitorCount; ++i) {
        const LRESULT index =
            framework::AddComboItem(monitorList_, MonitorListName(inventory.monitors[i], i), static_cast<LPARAM>(i));
        if (current == static_cast<std::int32_t>(i)) ::SendMessageW(monitorList_, CB_SETCURSEL, index, 0);
    }
    if (inventory.monitorCount >= 2 && inventory.groupCaps.NumberOfAdaptersInGroup >= 2) {
        const LRESULT index = framework::AddComboItem(monitorList_, Translate(L"Multi-monitor"), kMultiMonitorItem);
        if (settings.Get(setting::kEnableMultiMonitorMode).AsInt() != 0) {
            ::SendMessageW(monitorList_, CB_SETCURSEL, index, 0);
        }
    }
}

void CSettingsDlgBase::FillResolutionControls(DisplayConfiguration::DesktopMode desktop) {
    ::SendMessageW(resolutionList_, CB_RESETCONTENT, 0, 0);
    const std::int32_t monitor = settings.Get(monitor_setting::kCurMonitor).AsInt();
    const DisplayConfiguration::ModeSelection selection = display_.InitialModeSelection(monitor, desktop);
    ::SendMessageW(desktopResolution_, BM_SETCHECK, static_cast<WPARAM>(selection.useDesktopRes), 0);
    ::EnableWindow(resolutionList_, selection.useDesktopRes == 0);

    const DisplayInventory& inventory = display_.inventory();
    if (static_cast<std::uint32_t>(monitor) >= inventory.monitorCount) return;
    const DeviceTypeRecord& modes = inventory.adapters[monitor].deviceTypes[0];
    for (std::uint32_t position = 0; position < modes.modeCount; ++position) {
        const LRESULT index =
            framework::AddComboItem(resolutionList_, FormatModeText(modes.modes[position]), static_cast<LPARAM>(position));
        if (position == selection.position) ::SendMessageW(resolutionList_, CB_SETCURSEL, index, 0);
    }
}

LRESULT CSettingsDlgBase::OnMonitorChosen(WORD, WORD, HWND, BOOL&) {
    const LRESULT data = framework::SelectedItemData(monitorList_);
    // An empty list (no usable display) offers no choice to take over.
    if (data == CB_ERR) return 0;
    const bool multiMonitor = data >= kMultiMonitorItem;
    settings.Get(setting::kEnableMultiMonitorMode) = ConfigValue(std::int32_t{multiMonitor ? 1 : 0});
    settings.Get(monitor_setting::kCurMonitor) =
        ConfigValue(static_cast<std::int32_t>(multiMonitor ? data - kMultiMonitorItem : data));
    FillResolutionControls();
    ::EnableWindow(blankScreens_, settings.Get(setting::kEnableMultiMonitorMode).AsInt() == 0);
    return 0;
}

LRESULT CSettingsDlgBase::OnBlankScreensClicked(WORD, WORD, HWND, BOOL&) {
    settings.Get(setting::kShowBlackScreens) = ConfigValue(framework::CheckState(blankScreens_));
    return 0;
}

LRESULT CSettingsDlgBase::OnDesktopResolutionClicked(WORD, WORD, HWND, BOOL&) {
    const std::int32_t checked = framework::CheckState(desktopResolution_);
    const std::int32_t monitor = settings.Get(monitor_setting::kCurMonitor).AsInt();
    display_.WriteMonitorSetting(monitor_setting::kUseDesktopRes, monitor, checked);
    ::SendMessageW(desktopResolution_, BM_SETCHECK, static_cast<WPARAM>(checked), 0);
    ::EnableWindow(resolutionList_, checked == 0);

    std::uint32_t position = 0;
    const DisplayInventory& inventory = display_.inventory();
    if (checked != 0) {
        const auto index = static_cast<std::uint32_t>(monitor);
        if (index < inventory.monitorCount) {
            const D3DDISPLAYMODE& desktop = inventory.adapters[index].desktopMode;
            position = display_.FindMode(monitor, desktop.Width, desktop.Height, static_cast<std::int32_t>(desktop.Format));
        }
    } else {
        position = display_.RememberedModeIndex(static_cast<std::uint32_t>(monitor));
    }
    ::SendMessageW(resolutionList_, CB_SETCURSEL, position, 0);
    return 0;
}

LRESULT CSettingsDlgBase::OnResolutionChosen(WORD, WORD, HWND, BOOL&) {
    const std::int32_t monitor = settings.Get(monitor_setting::kCurMonitor).AsInt();
    const auto index = static_cast<std::uint32_t>(monitor);
    const DisplayInventory& inventory = display_.inventory();
    const LRESULT data = framework::SelectedItemData(resolutionList_);
    if (index >= inventory.monitorCount || data == CB_ERR) return 0;
    const auto position = static_cast<std::uint32_t>(data);
    const DeviceTypeRecord& modes = inventory.adapters[index].deviceTypes[0];
    if (position >= modes.modeCount) return 0;
    display_.SetRememberedModeIndex(index, position);
    const ModeRecord& mode = modes.modes[position];
    display_.WriteMonitorSetting(monitor_setting::kModeWidth, monitor, static_cast<std::int32_t>(mode.Width));
    display_.WriteMonitorSetting(monitor_setting::kModeHeight, monitor, static_cast<std::int32_t>(mode.Height));
    display_.WriteMonitorSetting(monitor_setting::kModeFormat, monitor, mode.Format);
    return 0;
}
