// Finding the running animated wallpaper's render window and posting it the
// option changes the user makes, so that it shows them at once.
#pragma once

#include <windows.h>

#include <cstdint>

// The registered window message the wallpaper listens for: wParam a
// WallpaperChange code, lParam the value.
inline constexpr wchar_t kWallpaperMessageName[] = L"ChangeWallpaperSettingsMarrowdale";

// What a change message previews; the numbers are shared with the wallpaper.
enum class WallpaperChange : int {
    HighQualityGraphics = 0,
    MusicVolume = 1,
    MusicEnabled = 2,
    SoundsVolume = 3,
    SoundsEnabled = 4,
    HighQualityTextures = 5,
    Antialiasing = 6,
};

// Searches the top-level windows and all their descendants for one of class
// "Direct3D Window", stopping early once it and the desktop's icon list have
// been met; the render window met last, or null.
HWND FindWallpaperWindow();

// When `window` is not a window (including null) it is searched for afresh;
// when one is known, the change is posted to it. Never sends and never waits:
// the wallpaper is another process whose thread may be busy.
void PostWallpaperChange(HWND& window, UINT message, WallpaperChange code, std::int32_t value);
