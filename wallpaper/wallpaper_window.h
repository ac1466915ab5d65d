#pragma once
#include <windows.h>
#include <cstdint>
inline constexpr wchar_t kWallpaperMessageName[] = L"ChangeWallpaperSettingsMarrowdale";
enum class WallpaperChange : int { HighQualityGraphics = 0, MusicVolume = 1, MusicEnabled = 2, SoundsVolume = 3,
                                   SoundsEnabled = 4, HighQualityTextures = 5, Antialiasing = 6 };
HWND FindWallpaperWindow();
void PostWallpaperChange(HWND& window, UINT message, WallpaperChange code, std::int32_t value);
