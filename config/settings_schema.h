// The set of settings the screensaver and its renderer share: their names,
// their defaults, and loading and saving the whole set at the product key.
#pragma once

#include "display/probe_rules.h"

#include <optional>

class Node;

// The per-monitor names (UseDesktopRes, the mode settings) and CurMonitor are
// in display/monitor_settings.h.
namespace setting {
inline constexpr char kHighQualityTextures[] = "HighQualityTextures";
inline constexpr char kEnableMultiMonitorMode[] = "EnableMultiMonitorMode";
inline constexpr char kShowBlackScreens[] = "ShowBlackScreens";
inline constexpr char kShowFPS[] = "ShowFPS";
inline constexpr char kDisableOnMouseActivate[] = "DisableOnMouseActivate";
inline constexpr char kMusicVolumePercentage[] = "MusicVolumePercentage";
inline constexpr char kDisableMusic[] = "DisableMusic";
inline constexpr char kSoundsVolumePercentage[] = "SoundsVolumePercentage";
inline constexpr char kDisableSound[] = "DisableSound";
inline constexpr char kMonitorAspectRatio[] = "MonitorAspectRatio";
inline constexpr char kUsePlaylist[] = "UsePlaylist";
inline constexpr char kHighQualityGraphics[] = "HighQualityGraphics";
inline constexpr char kFontScaling[] = "FontScaling";
inline constexpr char kAntialiasing[] = "Antialiasing";
inline constexpr char kShufflePlayList[] = "ShufflePlayList";
}  // namespace setting

// Writes every default, in the renderer's order, over what the tree holds;
// the three hardware-dependent ones come from tiers, and without them are
// left as they are (what was never answered is not made up). CurMonitor,
// the mode settings and Language have no default and are left as they are.
void WriteDefaultSettings(Node& settings, const std::optional<HardwareDefaults>& tiers);

// True when merging the product key over the defaults replaces each of the
// three hardware-dependent ones (as it does after the first OK), so that
// probing the hardware for them would be wasted: the key is read into a tree
// of defaults marked as unprobed, and each must have changed.
bool StoredSettingsReplaceHardwareDefaults();

// Merges the product key under HKEY_LOCAL_MACHINE over the tree. False when
// the key or part of it could not be read; what was read is in the tree.
bool LoadSettingsFromRegistry(Node& settings);

// Writes the whole tree to the product key. False at the first failure.
bool SaveSettingsToRegistry(const Node& settings);
