// One registry value that a test must use in a key it does not own (the Run
// key): removed for the test, and what it held put back afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace test_support {

// Deletes the value now; when the object goes, deletes whatever the test left
// there and restores the value's original type and data, if it had any.
class ScopedValueRemoval {
public:
    ScopedValueRemoval(HKEY root, std::wstring path, std::wstring name);
    // The same in the given registry view (KEY_WOW64_64KEY, KEY_WOW64_32KEY
    // or 0 for the process's own).
    ScopedValueRemoval(HKEY root, std::wstring path, std::wstring name, REGSAM view);
    ~ScopedValueRemoval();
    ScopedValueRemoval(const ScopedValueRemoval&) = delete;
    ScopedValueRemoval& operator=(const ScopedValueRemoval&) = delete;

private:
    HKEY root_;
    std::wstring path_;
    std::wstring name_;
    REGSAM view_;
    bool existed_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> data_;
};

// The raw type and data of a value of any key; false when it is missing.
bool GetRegistryRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
                    std::vector<BYTE>& data);
bool GetRegistryRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
                    std::vector<BYTE>& data, REGSAM view);

}  // namespace test_support
