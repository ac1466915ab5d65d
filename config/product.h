// Fixed names of the product that several parts of the program share.
#pragma once

namespace product {

inline constexpr wchar_t kName[] = L"Marrowdale 3D Screensaver";
// The settings key under HKEY_LOCAL_MACHINE: the maker's key and the product name.
inline constexpr wchar_t kKey[] = L"Software\\Tidewright\\Marrowdale 3D Screensaver";
// The maker's key under HKEY_LOCAL_MACHINE, which a product name completes.
inline constexpr wchar_t kMakerKey[] = L"Software\\Tidewright\\";
// The first argument that starts the program's own elevated mode, which
// Windows never passes: it gives the user named after it the rights to save
// the settings.
inline constexpr wchar_t kGrantSwitch[] = L"--grant-settings-access";

}  // namespace product
