// The display part of the settings dialog: the inventory of adapters,
// monitors and modes, the checks of the stored monitor and mode choices
// against it, and the lists the dialog's display controls show. The dialog
// holds one and hands it its settings tree and its ConfirmDevice hook.
#pragma once

#include "display/antialiasing_list.h"
#include "display/device_confirmer.h"
#include "display/display_inventory.h"
#include "display/probe_rules.h"

#include <cstdint>
#include <functional>
#include <vector>

class Node;

class DisplayConfiguration {
public:
    DisplayConfiguration(Node& settings, DeviceConfirmer& confirmer);
    DisplayConfiguration(const DisplayConfiguration&) = delete;
    DisplayConfiguration& operator=(const DisplayConfiguration&) = delete;

    // Takes the inventory afresh. S_OK when at least one adapter with a
    // usable mode was found; E_FAIL (and an empty inventory) otherwise.
    HRESULT EnumerateDisplays();

    // After the settings are loaded: a CurMonitor that names no monitor
    // becomes 0, and every monitor remembers the position of the plain
    // ModeWidth/ModeHeight/ModeFormat in its list.
    void ValidateMonitorChoice();

    // Position of the mode in the list of the first device type of monitor
    // that has it; 0 when no list has it or there is no such monitor.
    std::uint32_t FindMode(std::int32_t monitor, std::uint32_t width, std::uint32_t height,
                           std::int32_t format) const;

    struct ModeSelection {
        std::int32_t useDesktopRes;
        std::uint32_t position;
    };
    // Where the desktop mode of a selection comes from: asked of Direct3D
    // now, or as the inventory read it (right after taking it, when asking
    // again would only repeat the same question at the cost of a Direct3D
    // start).
    enum class DesktopMode { AskedAfresh, FromInventory };
    // What the resolution controls of a monitor start with: the desktop
    // resolution flag, and the stored mode's position (or, with the flag set,
    // the position of the adapter's desktop mode).
    ModeSelection InitialModeSelection(std::int32_t monitor, DesktopMode desktop = DesktopMode::AskedAfresh);

    std::int32_t ReadMonitorSetting(const char* name, std::int32_t monitor);
    void WriteMonitorSetting(const char* name, std::int32_t monitor, std::int32_t value);

    // 0 for a monitor that does not exist.
    std::uint32_t RememberedModeIndex(std::uint32_t monitor) const;
    void SetRememberedModeIndex(std::uint32_t monitor, std::uint32_t position);

    // The antialiasing quality list for the Antialiasing setting and the
    // default adapter's multisample counts (probed, or as given).
    AntialiasingList AntialiasingChoices();
    AntialiasingList AntialiasingChoices(const std::vector<std::int32_t>& sampleCounts);

    // Video memory of the adapter of the monitor stored at the last OK;
    // awaitInventory as for ::ProbeVideoMemory.
    std::uint32_t ProbeVideoMemory(const std::function<void()>& awaitInventory = {}) const;
    // The defaults that follow from video memory, clock and screen height,
    // probed in that order.
    HardwareDefaults ProbeHardwareDefaults() const;
    // The same from a video memory and clock probed elsewhere; the screen
    // height is read now.
    static HardwareDefaults HardwareDefaultsFor(std::uint32_t videoMemory, std::int32_t clockMHz);

    const DisplayInventory& inventory() const { return inventory_; }
    // Takes over an inventory taken by another configuration (on a thread of
    // its own).
    void AdoptInventory(const DisplayInventory& inventory) { inventory_ = inventory; }

private:
    D3DDISPLAYMODE InventoryDesktopMode(std::int32_t monitor) const;
    D3DDISPLAYMODE CurrentDesktopMode(std::int32_t monitor) const;

    Node& settings_;
    DeviceConfirmer& confirmer_;
    DisplayInventory inventory_;
};
