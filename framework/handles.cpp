#include "framework/handles.h"

#include <delayimp.h>

#include <string>

namespace framework {

HMODULE LoadSystemLibrary(const wchar_t* name) {
    HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
    // Windows 7 without the library-search update does not know the flag. A
    // name that the program's manifest redirects (the version 6 common
    // controls) comes from the side-by-side store, never from beside the
    // program; any other is named in the system folder.
    ACTCTX_SECTION_KEYED_DATA redirection = {};
    redirection.cbSize = sizeof(redirection);
    if (::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &redirection)) {
        return ::LoadLibraryW(name);
    }
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::SystemLibrary(const wchar_t* name) : module_(LoadSystemLibrary(name)) {}

SystemLibrary::~SystemLibrary() {
    if (module_) ::FreeLibrary(module_);
}

namespace {

// The delay-loaded system DLLs (everything the run mode does not need) are
// loaded on their first call through here, from the system folder only.
FARPROC WINAPI LoadDelayedLibrary(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll) return nullptr;
    wchar_t name[MAX_PATH] = {};
    if (!::MultiByteToWideChar(CP_ACP, 0, info->szDll, -1, name, MAX_PATH)) return nullptr;
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name));
}

}  // namespace

}  // namespace framework

// The runtime's delay-load helper calls this hook (declared extern "C" in
// delayimp.h); it is defined beside
// HardenLibrarySearchPath so that every program that hardens its search also
// links it.
PfnDliHook __pfnDliNotifyHook2 = framework::LoadDelayedLibrary;

namespace framework {

void HardenLibrarySearchPath() {
    // Windows 8, and Windows 7 with its library-search update: every later
    // load by name, the system's own on the program's behalf included, looks
    // in the system folder only.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Otherwise an empty string at least removes the current folder.
    ::SetDllDirectoryW(L"");
}

}  // namespace framework
