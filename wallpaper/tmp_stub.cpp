#include "wallpaper/wallpaper_window.h"
#include "wallpaper/run_at_startup.h"
HWND FindWallpaperWindow() { return nullptr; }
void PostWallpaperChange(HWND&, UINT, WallpaperChange, std::int32_t) {}
bool IsRunAtStartupSet() { return false; }
HRESULT StoreRunAtStartup(bool) { return S_OK; }
