#include "config/registry.h"

#include "config/reg_key.h"
#include "config/registry_seam.h"

#include <vector>

namespace registry_seam {

Api& Current() {
    static Api api;
    return api;
}

}  // namespace registry_seam

bool Is64BitWindows() {
    if (const auto& forced = registry_seam::Current().is64BitWindows) return *forced;
    // Looked up at run time: neither export exists on the oldest systems.
    HMODULE kernel = ::GetModuleHandleW(L"kernel32");
    if (!kernel) return false;
    if (!::GetProcAddress(kernel, "GetNativeSystemInfo")) return false;
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64Process =
        reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")));
    if (!isWow64Process) return false;
    BOOL wow64 = FALSE;
    if (!isWow64Process(::GetCurrentProcess(), &wow64)) return false;
    return wow64 != FALSE;
}

REGSAM RegistryReadAccess(bool use64View) {
    return (use64View && Is64BitWindows()) ? (KEY_READ | KEY_WOW64_64KEY) : KEY_READ;
}

REGSAM RegistryWriteAccess(bool use64View) {
    return (use64View && Is64BitWindows()) ? (KEY_SET_VALUE | KEY_WOW64_64KEY) : KEY_SET_VALUE;
}

HRESULT ReadRegistryString(HKEY root, const wchar_t* subKeyPath, const wchar_t* valueName,
                           std::wstring& text, bool use64View) {
    RegKey key;
    if (key.Open(root, subKeyPath, RegistryReadAccess(use64View)) != ERROR_SUCCESS) return E_FAIL;

    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return E_FAIL;
    if (type != REG_SZ || size == 0) return E_FAIL;

    // Room for every whole character of the data plus one, so an odd byte
    // count or a missing terminator never leads past the buffer.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD read = size;
    if (::RegQueryValueExW(key.Get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &read) !=
            ERROR_SUCCESS ||
        type != REG_SZ || read > size) {
        return E_FAIL;
    }
    const size_t characters = read / sizeof(wchar_t);
    size_t length = 0;
    while (length < characters && buffer[length] != L'\0') ++length;
    text.assign(buffer.data(), length);

    return key.Close() == ERROR_SUCCESS ? S_OK : E_FAIL;
}

HRESULT WriteRegistryString(HKEY root, const wchar_t* subKeyPath, const wchar_t* valueName,
                            const std::wstring& text, bool use64View) {
    RegKey key;
    if (key.Create(root, subKeyPath, RegistryWriteAccess(use64View)) != ERROR_SUCCESS) return E_FAIL;
    if (key.SetStringValue(valueName, text) != ERROR_SUCCESS) return E_FAIL;
    // The renderer and the wallpaper read the value from their own processes.
    registry_seam::Current().flushKey(key.Get());
    key.Close();
    return S_OK;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
