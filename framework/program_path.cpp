#include "framework/program_path.h"

#include <windows.h>

#include <vector>

namespace framework {

std::wstring ProgramPath() {
    // A path longer than the buffer comes back cut short: try again larger.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::wstring();
        if (length < path.size()) return std::wstring(path.data(), length);
        path.resize(path.size() * 2);
    }
}

}  // namespace framework
