#include "tests/support/product_key.h"

#include <gtest/gtest.h>

namespace test_support {

RawValues ReadRawValues(HKEY root, const std::wstring& path) {
    RawValues values;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[1024];
        DWORD nameLength = 1024;
        RawValue value;
        value.data.resize(65536);
        DWORD bytes = static_cast<DWORD>(value.data.size());
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &value.type, value.data.data(), &bytes) !=
            ERROR_SUCCESS) {
            break;
        }
        value.data.resize(bytes);
        values[std::wstring(name, nameLength)] = value;
    }
    ::RegCloseKey(key);
    return values;
}

std::wstring UnterminatedText(const RawValue& value) {
    if (value.type != REG_SZ) return L"<not REG_SZ>";
    if (value.data.size() % 2 != 0) return L"<odd size>";
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / 2);
    if (!text.empty() && text.back() == L'\0') return L"<terminated>";
    return text;
}

namespace {

bool NoVideoControllers(std::vector<display_seam::VideoControllerRow>&) { return false; }
HRESULT WINAPI NoDirectDraw(LPDDENUMCALLBACKEXA, LPVOID, DWORD) { return E_FAIL; }
std::vector<std::int32_t> TwoFourEight() { return {2, 4, 8}; }
std::uint64_t StoppedCounter() { return 0; }

}  // namespace

display_seam::Api QuickProbes() {
    display_seam::Api api;
    api.listVideoControllers = &NoVideoControllers;
    api.directDrawEnumerate = &NoDirectDraw;
    api.probeSampleCounts = &TwoFourEight;
    api.readTimeStampCounter = &StoppedCounter;
    return api;
}

void StoreTypedText(const std::wstring& name, const std::wstring& text) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, product::kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    std::wstring data = text + L'\x1';  // keeps the registry from counting a terminator
    ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(text.size() * sizeof(wchar_t)));
    ::RegCloseKey(key);
}

std::wstring StoredTypedText(const std::wstring& name) {
    const RawValues values = ReadRawValues(HKEY_LOCAL_MACHINE, product::kKey);
    const auto found = values.find(name);
    return found == values.end() ? L"<missing>" : UnterminatedText(found->second);
}

}  // namespace test_support
