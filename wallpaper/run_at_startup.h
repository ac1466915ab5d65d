// The Run-at-start-up entry that starts the animated wallpaper with Windows.
#pragma once

#include <windows.h>

// Where the entry lives: HKEY_CURRENT_USER, this key, this REG_SZ value.
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kRunValueName[] = L"TidewrightAnimatedWallpaper";

// True when the Run value equals WallpaperCommand() exactly (same length,
// same code units, case-sensitive). False whenever WallpaperCommand() is
// empty: with no known installation folder nothing would start.
bool IsRunAtStartupSet();

// Writes the Run value: WallpaperCommand() when checked, else the empty
// string (also when checked but the command is empty). The value is kept,
// never deleted. The HRESULT of the write.
HRESULT StoreRunAtStartup(bool checked);
