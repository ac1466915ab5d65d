// The command line that starts the product's renderer as the animated
// wallpaper, as the Run-at-start-up entry holds it.
#pragma once

#include <string>

// "\"<folder>\\Marrowdale 3D Screensaver.exe\" /w", the folder being the
// installer's AppPath of the product key, else the InstallLocation of the
// screensaver's uninstall entry "<full name>_is1"; empty when neither gives a
// folder. Built afresh at every call.
std::wstring WallpaperCommand();
