// The installer's "Language" value in the product key, turned into a tag.
#include "i18n/language.h"

#include "config/product.h"
#include "config/reg_key.h"
#include "config/registry_seam.h"
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "res/resource_ids.h"
#include "tests/i18n/test_resources.h"
#include "tests/support/scratch_key.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

const wchar_t kMakerKey[] = L"Software\\Tidewright";

// Removes the maker's key after the test when nothing else lives below it.
class EmptyMakerKeyRemoval {
public:
    EmptyMakerKeyRemoval() = default;
    ~EmptyMakerKeyRemoval() { ::RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, KEY_WOW64_64KEY, 0); }
    EmptyMakerKeyRemoval(const EmptyMakerKeyRemoval&) = delete;
    EmptyMakerKeyRemoval& operator=(const EmptyMakerKeyRemoval&) = delete;
};

// The product key, absent at the start and the end of each test.
class ProductKeyTest {
protected:
    EmptyMakerKeyRemoval makerKey_;
    test_support::ScopedKeyRemoval productKey_{HKEY_LOCAL_MACHINE, product::kKey};
};

enum class Stored { NoKey, NoValue, Installer, Unterminated, Dword, Binary };

struct LanguageCase {
    const char* name;
    Stored stored;
    std::wstring text;
    const wchar_t* tag;
};

void PrintTo(const LanguageCase& c, std::ostream* os) { *os << c.name; }

void Store(const LanguageCase& c) {
    if (c.stored == Stored::NoKey) return;
    RegKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, product::kKey, KEY_ALL_ACCESS | KEY_WOW64_64KEY), ERROR_SUCCESS);
    switch (c.stored) {
        case Stored::Installer:
            test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"Language", c.text);
            break;
        case Stored::Unterminated:
            ASSERT_EQ(key.SetStringValue(L"Language", c.text), ERROR_SUCCESS);
            break;
        case Stored::Dword: {
            const DWORD value = 3;
            ASSERT_EQ(::RegSetValueExW(key.Get(), L"Language", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                       sizeof(value)),
                      ERROR_SUCCESS);
            break;
        }
        case Stored::Binary:
            ASSERT_EQ(::RegSetValueExW(key.Get(), L"Language", 0, REG_BINARY,
                                       reinterpret_cast<const BYTE*>(c.text.c_str()),
                                       static_cast<DWORD>((c.text.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
            break;
        default:
            // Another value beside it must not be taken for the language.
            test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"AppPath", L"3: de");
            break;
    }
}

class LanguageFromRegistry : public ProductKeyTest, public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageFromRegistry, MapsTheWholeValueToATag) {
    Store(GetParam());
    EXPECT_EQ(LanguageTagFromRegistry(), GetParam().tag);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LanguageFromRegistry,
    ::testing::Values(LanguageCase{"German", Stored::Installer, L"3: de", L"de"},
                      LanguageCase{"French", Stored::Installer, L"3: fr", L"fr"},
                      LanguageCase{"Russian", Stored::Installer, L"3: ru", L"ru"},
                      LanguageCase{"GermanWithoutTerminator", Stored::Unterminated, L"3: de", L"de"},
                      LanguageCase{"NoProductKey", Stored::NoKey, L"", L"en"},
                      LanguageCase{"NoValue", Stored::NoValue, L"", L"en"},
                      LanguageCase{"English", Stored::Installer, L"3: en", L"en"},
                      LanguageCase{"Capitals", Stored::Installer, L"3: DE", L"en"},
                      LanguageCase{"BareTag", Stored::Installer, L"de", L"en"},
                      LanguageCase{"NoBlankAfterColon", Stored::Installer, L"3:de", L"en"},
                      LanguageCase{"TrailingBlank", Stored::Installer, L"3: de ", L"en"},
                      LanguageCase{"OtherTypeCode", Stored::Installer, L"2: de", L"en"},
                      LanguageCase{"Empty", Stored::Installer, L"", L"en"},
                      LanguageCase{"LanguageTheTableLacks", Stored::Installer, L"3: es", L"en"},
                      LanguageCase{"Dword", Stored::Dword, L"", L"en"},
                      LanguageCase{"BinaryHoldingTheText", Stored::Binary, L"3: de", L"en"}),
    [](const ::testing::TestParamInfo<LanguageCase>& info) { return std::string(info.param.name); });

class LanguageChoice : public ProductKeyTest, public ::testing::Test {};

TEST_F(LanguageChoice, RussianValueGivesRussianTexts) {
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"Language", L"3: ru");
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    table.SelectLanguage(LanguageTagFromRegistry());
    table.SelectTextBlock(L"Screensaver Settings Dialog");
    EXPECT_EQ(table.CurrentLanguageTag(), L"ru");
    EXPECT_EQ(Translate(L"Error!"), L"Ошибка!");
}

TEST_F(LanguageChoice, TableWithoutTheLanguageKeepsItsCurrentOne) {
    // No value means English, which this table does not offer.
    StringTable& table = StringTable::Create(IDR_NO_ENGLISH);
    EXPECT_FALSE(table.SelectLanguage(LanguageTagFromRegistry()));
    EXPECT_EQ(table.CurrentLanguageTag(), L"de");
}

// Records the access asked for when the product key is opened.
std::vector<REGSAM>& OpenedProductKeyAccess() {
    static std::vector<REGSAM> access;
    return access;
}

LSTATUS APIENTRY RecordingOpenKey(HKEY root, LPCWSTR path, DWORD options, REGSAM access, PHKEY key) {
    if (root == HKEY_LOCAL_MACHINE && path && std::wstring(path) == product::kKey) {
        OpenedProductKeyAccess().push_back(access);
    }
    return ::RegOpenKeyExW(root, path, options, access, key);
}

TEST_F(LanguageChoice, ReadsTheSixtyFourBitViewOnSixtyFourBitWindows) {
    test_support::SetRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"Language", L"3: fr");
    OpenedProductKeyAccess().clear();
    registry_seam::Api api;
    api.openKey = &RecordingOpenKey;
    api.is64BitWindows = true;
    const registry_seam::ScopedApi scoped(api);
    EXPECT_EQ(LanguageTagFromRegistry(), L"fr");
    ASSERT_EQ(OpenedProductKeyAccess().size(), 1u);
    EXPECT_EQ(OpenedProductKeyAccess()[0] & KEY_WOW64_64KEY, static_cast<REGSAM>(KEY_WOW64_64KEY));
    EXPECT_EQ(OpenedProductKeyAccess()[0] & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY), 0u);
}

}  // namespace
