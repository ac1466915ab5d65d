// The dispatch from the parsed command line to one run mode.
#pragma once

#include "app/command_line.h"

#include <windows.h>

// Runs the mode the command line asks for; returns the process exit code,
// which is 0 on every path.
int RunProgram(HINSTANCE instance, const wchar_t* commandLine);

// Asks the system's password provider library to change the screensaver
// password. False when the library or its export is missing, which the run
// mode ignores. The library is always looked for in the system folder.
bool RequestPasswordChange(const wchar_t* providerLibrary = L"mpr.dll");
