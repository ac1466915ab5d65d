#include "config/reg_key.h"

#include "config/registry_seam.h"

LSTATUS RegKey::Open(HKEY root, const wchar_t* subKeyPath, REGSAM access) {
    Close();
    HKEY key = nullptr;
    const LSTATUS status = registry_seam::Current().openKey(root, subKeyPath, 0, access, &key);
    if (status == ERROR_SUCCESS) key_ = key;
    return status;
}

LSTATUS RegKey::Create(HKEY root, const wchar_t* subKeyPath, REGSAM access) {
    Close();
    HKEY key = nullptr;
    wchar_t emptyClass[] = L"";
    const LSTATUS status = registry_seam::Current().createKey(
        root, subKeyPath, 0, emptyClass, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (status == ERROR_SUCCESS) key_ = key;
    return status;
}

LSTATUS RegKey::Close() {
    if (!key_) return ERROR_SUCCESS;
    return ::RegCloseKey(std::exchange(key_, nullptr));
}

LSTATUS RegKey::SetStringValue(const wchar_t* valueName, const std::wstring& text) {
    // A non-zero character right behind the data keeps the registry from
    // adding a terminator of its own to the stored size.
    std::wstring data;
    data.reserve(text.size() + 1);
    data.assign(text);
    data.push_back(L'\x1');
    const DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return registry_seam::Current().setValue(key_, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                             bytes);
}
