// The full path of this process's program file.
#pragma once

#include <string>

namespace framework {

// Empty when the system cannot tell.
std::wstring ProgramPath();

}  // namespace framework
