// The program's own elevated mode. A settings or playlist dialog that may not
// save starts this program with the consent of an administrator, and this
// mode gives the dialog's user the rights to save, and nothing more. It shows
// no window, takes nothing from its caller but the user's SID (which must be
// a user account's), touches only the product key's access, and reports by
// its exit code.
#pragma once

#include <windows.h>

#include <string_view>

// ERROR_SUCCESS once granted, or why nothing was.
DWORD RunGrantMode(std::wstring_view argument);
