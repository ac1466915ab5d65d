#include "config/settings_schema.h"

#include "config/node.h"
#include "config/product.h"
#include "display/monitor_settings.h"

#include <windows.h>

#include <climits>
#include <cstdint>

void WriteDefaultSettings(Node& settings, const std::optional<HardwareDefaults>& tiers) {
    // A tiered default names its tier instead of a value.
    const struct {
        const char* name;
        std::int32_t value;
        std::int32_t HardwareDefaults::*tier;
    } defaults[] = {
        {setting::kHighQualityTextures, 0, &HardwareDefaults::highQualityTextures},
        {setting::kEnableMultiMonitorMode, 1, nullptr},
        {setting::kShowBlackScreens, 1, nullptr},
        {setting::kShowFPS, 0, nullptr},
        {setting::kDisableOnMouseActivate, 1, nullptr},
        {setting::kMusicVolumePercentage, 15, nullptr},
        {setting::kDisableMusic, 0, nullptr},
        {setting::kSoundsVolumePercentage, 100, nullptr},
        {setting::kDisableSound, 0, nullptr},
        {setting::kMonitorAspectRatio, 4, nullptr},
        {monitor_setting::kUseDesktopRes, 1, nullptr},
        {setting::kUsePlaylist, 0, nullptr},
        {setting::kHighQualityGraphics, 0, &HardwareDefaults::highQualityGraphics},
        {setting::kFontScaling, 50, nullptr},
        {setting::kAntialiasing, 0, &HardwareDefaults::antialiasing},
        {setting::kShufflePlayList, 1, nullptr},
    };
    for (const auto& entry : defaults) {
        if (!entry.tier) {
            settings.Get(entry.name) = ConfigValue(entry.value);
        } else if (tiers) {
            settings.Get(entry.name) = ConfigValue((*tiers).*entry.tier);
        }
    }
}

bool StoredSettingsReplaceHardwareDefaults() {
    // A stored value equal to the mark reads as not replaced: the probes then
    // run, which is never wrong, only slower.
    constexpr std::int32_t kUnprobed = INT32_MIN;
    Node stored;
    WriteDefaultSettings(stored, HardwareDefaults{kUnprobed, kUnprobed, kUnprobed});
    LoadSettingsFromRegistry(stored);
    for (const char* name : {setting::kHighQualityTextures, setting::kHighQualityGraphics, setting::kAntialiasing}) {
        const ConfigValue& value = stored.Get(name);
        if (value.type == ValueType::Integer && value.intValue == kUnprobed) return false;
    }
    return true;
}

bool LoadSettingsFromRegistry(Node& settings) { return settings.LoadFromRegistry(HKEY_LOCAL_MACHINE, product::kKey); }

bool SaveSettingsToRegistry(const Node& settings) {
    return settings.SaveToRegistry(HKEY_LOCAL_MACHINE, product::kKey);
}
