#include "config/settings_schema.h"

#include "config/node.h"
#include "config/product.h"
#include "display/monitor_settings.h"

#include <windows.h>

#include <climits>
#include <cstdint>

void WriteDefaultSettings(Node& settings, const HardwareDefaults& tiers) {
    const struct {
        const char* name;
        std::int32_t value;
    } defaults[] = {
        {setting::kHighQualityTextures, tiers.highQualityTextures},
        {setting::kEnableMultiMonitorMode, 1},
        {setting::kShowBlackScreens, 1},
        {setting::kShowFPS, 0},
        {setting::kDisableOnMouseActivate, 1},
        {setting::kMusicVolumePercentage, 15},
        {setting::kDisableMusic, 0},
        {setting::kSoundsVolumePercentage, 100},
        {setting::kDisableSound, 0},
        {setting::kMonitorAspectRatio, 4},
        {monitor_setting::kUseDesktopRes, 1},
        {setting::kUsePlaylist, 0},
        {setting::kHighQualityGraphics, tiers.highQualityGraphics},
        {setting::kFontScaling, 50},
        {setting::kAntialiasing, tiers.antialiasing},
        {setting::kShufflePlayList, 1},
    };
    for (const auto& entry : defaults) settings.Get(entry.name) = ConfigValue(entry.value);
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
