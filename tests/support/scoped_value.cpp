#include "tests/support/scoped_value.h"

#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

namespace test_support {

namespace {

void DeleteValue(HKEY root, const std::wstring& path, const std::wstring& name, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(key, name.c_str());
    ::RegCloseKey(key);
}

}  // namespace

ScopedValueRemoval::ScopedValueRemoval(HKEY root, std::wstring path, std::wstring name)
    : ScopedValueRemoval(root, path, name, ViewOf(root, path)) {}

ScopedValueRemoval::ScopedValueRemoval(HKEY root, std::wstring path, std::wstring name, REGSAM view)
    : root_(root), path_(std::move(path)), name_(std::move(name)), view_(view) {
    existed_ = GetRegistryRaw(root_, path_, name_, type_, data_, view_);
    DeleteValue(root_, path_, name_, view_);
}

ScopedValueRemoval::~ScopedValueRemoval() {
    DeleteValue(root_, path_, name_, view_);
    if (!existed_) return;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_SET_VALUE | view_, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot restore a registry value";
        return;
    }
    // A non-zero byte pair behind the data keeps the registry from adding a
    // terminator the original did not have.
    std::vector<BYTE> copy = data_;
    copy.insert(copy.end(), {0x41, 0x00});
    ::RegSetValueExW(key, name_.c_str(), 0, type_, copy.data(), static_cast<DWORD>(data_.size()));
    ::RegCloseKey(key);
}

bool GetRegistryRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
                    std::vector<BYTE>& data) {
    return GetRegistryRaw(root, path, name, type, data, ViewOf(root, path));
}

bool GetRegistryRaw(HKEY root, const std::wstring& path, const std::wstring& name, DWORD& type,
                    std::vector<BYTE>& data, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    data.assign(size, 0);
    // Exactly the data size: the registry then adds no terminator of its own.
    if (found && size != 0) {
        found = ::RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return found;
}

}  // namespace test_support
