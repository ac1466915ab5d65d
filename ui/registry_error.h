// The message box that tells the user a registry write failed.
#pragma once

#include <windows.h>

// Shows the translated registry error with the error icon, owned by owner,
// and returns when the user has closed it.
void ShowRegistryWriteError(HWND owner);
