#include "wallpaper/wallpaper_command.h"

#include "config/product.h"
#include "config/registry.h"

#include <windows.h>

namespace {

const wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kRendererFile[] = L"\\Marrowdale 3D Screensaver.exe";

// A failed read leaves the folder empty, the same as a missing value. The
// product key is read in the 64-bit view; the installer, a 32-bit program,
// writes its uninstall entry in the 32-bit view, this process's own.
std::wstring ReadInstallerFolder(const std::wstring& key, const wchar_t* value, bool use64View) {
    std::wstring folder;
    ReadRegistryString(HKEY_LOCAL_MACHINE, key.c_str(), value, folder, use64View);
    return folder;
}

}  // namespace

std::wstring WallpaperCommand() {
    std::wstring folder = ReadInstallerFolder(product::kKey, L"AppPath", true);
    if (folder.empty()) {
        folder = ReadInstallerFolder(std::wstring(kUninstallRoot) + product::kName + L"_is1", L"InstallLocation",
                                     false);
    }
    if (folder.empty()) return std::wstring();
    // Joined as it stands: a folder ending in a backslash gives a doubled one,
    // which Windows accepts, and an existing Run entry written that way still
    // compares equal.
    return L"\"" + folder + kRendererFile + L"\" /w";
}
