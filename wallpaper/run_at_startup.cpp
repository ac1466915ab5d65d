#include "wallpaper/run_at_startup.h"

#include "config/registry.h"
#include "wallpaper/wallpaper_command.h"

#include <string>

bool IsRunAtStartupSet() {
    const std::wstring command = WallpaperCommand();
    // A missing or empty Run value reads as empty and would otherwise equal
    // an empty command, showing the wallpaper as starting with Windows while
    // nothing can start it.
    if (command.empty()) return false;
    std::wstring stored;
    ReadRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValueName, stored, true);
    return stored == command;
}

HRESULT StoreRunAtStartup(bool checked) {
    const std::wstring text = checked ? WallpaperCommand() : std::wstring();
    return WriteRegistryString(HKEY_CURRENT_USER, kRunKey, kRunValueName, text, true);
}
