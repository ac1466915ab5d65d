// Fixed names of the product that several parts of the program share.
#pragma once

namespace product {

inline constexpr wchar_t kName[] = L"Marrowdale 3D Screensaver";
// The settings key under HKEY_LOCAL_MACHINE: the maker's key and the product name.
inline constexpr wchar_t kKey[] = L"Software\\Tidewright\\Marrowdale 3D Screensaver";
// The maker's key under HKEY_LOCAL_MACHINE, which a product name completes.
inline constexpr wchar_t kMakerKey[] = L"Software\\Tidewright\\";

}  // namespace product
