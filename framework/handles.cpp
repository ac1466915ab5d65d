#include "framework/handles.h"

#include <string>

namespace framework {

SystemLibrary::SystemLibrary(const wchar_t* name) {
    module_ = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module_ || ::GetLastError() != ERROR_INVALID_PARAMETER) return;
    // Windows 7 without the library-search update does not know the flag:
    // name the file in the system folder instead.
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    module_ = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
    if (module_) ::FreeLibrary(module_);
}

void HardenLibrarySearchPath() {
    // An empty string removes the current folder from the search order.
    ::SetDllDirectoryW(L"");
}

}  // namespace framework
