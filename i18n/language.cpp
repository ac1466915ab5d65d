#include "i18n/language.h"

#include "config/product.h"
#include "config/registry.h"

std::wstring LanguageTagFromValue(const std::wstring& value) {
    // The installer stores the tag as typed text; English needs no entry.
    for (const wchar_t* tag : {L"de", L"fr", L"ru"}) {
        if (value == std::wstring(L"3: ") + tag) return tag;
    }
    return L"en";
}

std::wstring LanguageTagFromRegistry() {
    std::wstring value;
    if (FAILED(ReadRegistryString(HKEY_LOCAL_MACHINE, product::kKey, L"Language", value, true))) value.clear();
    return LanguageTagFromValue(value);
}
