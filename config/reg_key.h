// An open registry key that closes itself.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            Close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // RegOpenKeyExW; the key is left closed on failure.
    LSTATUS Open(HKEY root, const wchar_t* subKeyPath, REGSAM access);
    // RegCreateKeyExW, non-volatile, empty class; creates missing parents.
    LSTATUS Create(HKEY root, const wchar_t* subKeyPath, REGSAM access);
    // Stores text as REG_SZ data of exactly 2 x length bytes, with no
    // terminating NUL (the registry would otherwise count the NUL that follows
    // a string in memory).
    LSTATUS SetStringValue(const wchar_t* valueName, const std::wstring& text);
    // Closes the key; the result of RegCloseKey, or success when nothing was open.
    LSTATUS Close();

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    HKEY key_ = nullptr;
};
