#include "wallpaper/wallpaper_command.h"

#include "config/product.h"
#include "config/registry.h"

#include <windows.h>

namespace {

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kRendererFile[] = L"\\Marrowdale 3D Screensaver.exe";

// A failed read leaves the folder empty, the same as a missing value.
std::wstring ReadInstallerFolder(const std::wstring& key, const wchar_t* value) {
    std::wstring folder;
    ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), value, folder, true);
    return folder;
}

}  // namespace

std::wstring WallpaperCommand() {
    std::wstring folder = ReadInstallerFolder(product::kKey, L"AppPath");
    if (folder.empty()) {
        folder = ReadInstallerFolder(std::wstring(kUninstallRoot) + product::kName + L"_is1", L"InstallLocation");
    }
    if (folder.empty()) return std::wstring();
    // Joined as it stands: a folder ending in a backslash gives a doubled one,
    // which Windows accepts, and an existing Run entry written that way still
    // compares equal.
    return L"\"" + folder + kRendererFile + L"\" /w";
}
