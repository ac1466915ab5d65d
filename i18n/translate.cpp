#include "i18n/translate.h"

#include "i18n/string_table.h"

std::wstring Translate(const std::wstring& key) {
    const StringTable* table = StringTable::Current();
    if (!table) return key;
    std::wstring text;
    // Lookup leaves the key in text when it finds nothing.
    table->Lookup(key, text);
    return text;
}
