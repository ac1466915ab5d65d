#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

namespace test_support {

namespace {

std::wstring Widen(const char* text) {
    std::wstring wide;
    for (; *text; ++text) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*text)));
    return wide;
}

std::wstring ScratchPathForCurrentTest() {
    std::wstring path = L"Software\\MarrowdaleTests\\";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        path += Widen(info->test_suite_name()) + L"." + Widen(info->name());
    } else {
        path += L"outside-a-test";
    }
    for (wchar_t& c : path) {
        if (c == L'/') c = L'_';
    }
    return path + L"." + std::to_wstring(::GetCurrentProcessId());
}

}  // namespace

ScratchKey::ScratchKey() : path_(ScratchPathForCurrentTest()) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    const LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot create the scratch key, status " << status;
}

ScratchKey::~ScratchKey() {
    if (key_) ::RegCloseKey(key_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD bytes) const {
    // A copy with a non-zero character behind the data, so that the registry
    // stores exactly the bytes given and adds no terminator of its own.
    std::vector<BYTE> copy(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + bytes);
    copy.insert(copy.end(), {0x41, 0x00, 0x41, 0x00});
    const LSTATUS status = ::RegSetValueExW(key_, name.c_str(), 0, type, copy.data(), bytes);
    ASSERT_EQ(status, ERROR_SUCCESS);
}

void ScratchKey::SetUnterminated(const std::wstring& name, const std::wstring& text) const {
    SetRaw(name, REG_SZ, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

void ScratchKey::SetDword(const std::wstring& name, DWORD value) const {
    SetRaw(name, REG_DWORD, &value, sizeof(value));
}

bool ScratchKey::GetRaw(const std::wstring& name, DWORD& type, std::vector<BYTE>& data) const {
    DWORD size = 0;
    if (::RegQueryValueExW(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    data.assign(size, 0);
    if (size == 0) return true;
    return ::RegQueryValueExW(key_, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
}

REGSAM ViewOf(HKEY root, const std::wstring& path) {
    static const wchar_t kMaker[] = L"Software\\Tidewright";
    const size_t length = sizeof(kMaker) / sizeof(kMaker[0]) - 1;
    if (root != HKEY_LOCAL_MACHINE || path.size() < length) return 0;
    if (::_wcsnicmp(path.c_str(), kMaker, length) != 0) return 0;
    if (path.size() > length && path[length] != L'\\') return 0;
    return KEY_WOW64_64KEY;
}

void DeleteKeyTree(HKEY root, const std::wstring& path) { DeleteKeyTree(root, path, ViewOf(root, path)); }

void DeleteKeyTree(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) == ERROR_SUCCESS) {
        ::RegDeleteTreeW(key, nullptr);
        ::RegCloseKey(key);
    }
    ::RegDeleteKeyExW(root, path.c_str(), view, 0);
}

ScopedKeyRemoval::ScopedKeyRemoval(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
    DeleteKeyTree(root_, path_);
}

ScopedKeyRemoval::~ScopedKeyRemoval() { DeleteKeyTree(root_, path_); }

void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
    SetRegistryString(root, path, name, text, ViewOf(root, path));
}

void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text,
                       REGSAM view) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | view, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const LSTATUS status = ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    ASSERT_EQ(status, ERROR_SUCCESS);
}

}  // namespace test_support
