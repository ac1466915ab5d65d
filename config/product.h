// Fixed names of the product that several parts of the program share.
#pragma once

namespace product {

inline constexpr wchar_t kName[] = L"Marrowdale 3D Screensaver";
// The settings key under HKEY_LOCAL_MACHINE: the maker's key and the product name.
inline constexpr wchar_t kKey[] = L"Software\\Tidewright\\Marrowdale 3D Screensaver";

}  // namespace product
