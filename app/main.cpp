#include "app/run_modes.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return RunProgram(instance, ::GetCommandLineW());
}
