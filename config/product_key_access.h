// Whether this process may write the product key, found out without writing
// anything, and the grant with which an elevated process lets one user save
// the settings there. On Windows as it ships a key made under
// HKEY_LOCAL_MACHINE\Software gives Users only read access, and the Screen
// Saver page starts this program unelevated.
#pragma once

#include <windows.h>

// The rights the saves need on the product key: setting its values, and
// making the subkeys of a tree's subtrees, which inherit the grant.
inline constexpr DWORD kProductKeyGrant = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// ERROR_SUCCESS when this process may write the product key in the view the
// settings use, or create it where it is missing; ERROR_ACCESS_DENIED when
// it may not; another status when the registry does not tell.
LSTATUS ProductKeyWriteAccess();

// Gives the user kProductKeyGrant on the product key, creating the key where
// it is missing (it then inherits what any key under Software does); nothing
// else changes. Needs the rights to change the key's access.
LSTATUS GrantProductKeyAccess(PSID user);
