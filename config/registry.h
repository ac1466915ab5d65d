// Reading and writing single registry strings, in the 64-bit view when asked
// and available, and the existence test for files.
#pragma once

#include <windows.h>

#include <string>

// True when this is a 32-bit process running on 64-bit Windows.
bool Is64BitWindows();

// Access rights for reading and for writing a key; the 64-bit view is added
// only when it is asked for and Is64BitWindows() is true.
REGSAM RegistryReadAccess(bool use64View);
REGSAM RegistryWriteAccess(bool use64View);

// S_OK with text replaced by the REG_SZ data (up to its first NUL or its end),
// or E_FAIL with text untouched (missing key or value, another type, no data).
HRESULT ReadRegistryString(HKEY root, const wchar_t* subKeyPath, const wchar_t* valueName,
                           std::wstring& text, bool use64View);

// Stores text as REG_SZ without a terminating NUL, creating the key and its
// parents when missing. S_OK or E_FAIL.
HRESULT WriteRegistryString(HKEY root, const wchar_t* subKeyPath, const wchar_t* valueName,
                            const std::wstring& text, bool use64View);

// True when the attributes of the path can be read (files and directories).
bool FileExists(const std::wstring& path);
