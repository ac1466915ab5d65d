// The string table loaded from any document bytes. A document either loads
// or leaves the table empty; every language and text block it offers can be
// selected by its tag; every text of a block is found in every language; a
// lookup that finds nothing hands back its key; and the current table is the
// one that Translate reads.
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "tests/fuzz/fuzz_check.h"

#include <pugixml.hpp>

#include <set>
#include <string>
#include <vector>

namespace {

void CheckLookup(const StringTable& table, const std::wstring& key, bool mustFind) {
    std::wstring out;
    const bool found = table.Lookup(key, out);
    if (mustFind) FUZZ_CHECK(found);
    if (!found) FUZZ_CHECK(out == key);
    FUZZ_CHECK(Translate(key) == out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StringTable& table = StringTable::CreateFromDocument(data, size);
    FUZZ_CHECK(StringTable::Current() == &table);
    const std::vector<std::wstring> languages = table.LanguageTags();
    const std::vector<std::wstring> blocks = table.TextBlockTags();
    if (languages.empty()) {
        FUZZ_CHECK(blocks.empty());
        FUZZ_CHECK(table.CurrentLanguageTag().empty() && table.CurrentTextBlockTag().empty());
    }

    // The same document read directly, for the Vars of each block.
    pugi::xml_document document;
    document.load_buffer(data, size);
    const pugi::xml_node root = document.child(L"Root");

    const std::wstring probe = fuzz::Utf16FromBytes(data, size < 64 ? size : 64);
    for (const std::wstring& language : languages) {
        FUZZ_CHECK(table.SelectLanguage(language));
        FUZZ_CHECK(table.CurrentLanguageTag() == language);
        std::set<std::wstring> blocksSeen;
        int looked = 0;
        for (pugi::xml_node block = root.child(L"TextBlock"); block && looked < 200;
             block = block.next_sibling(L"TextBlock")) {
            const std::wstring tag = block.attribute(L"Tag").value();
            // A later block of the same tag is never selected.
            if (!blocksSeen.insert(tag).second) continue;
            FUZZ_CHECK(table.SelectTextBlock(tag));
            FUZZ_CHECK(table.CurrentTextBlockTag() == tag);
            for (pugi::xml_node var = block.child(L"Var"); var && looked < 200; var = var.next_sibling(L"Var")) {
                CheckLookup(table, var.attribute(L"Tag").value(), true);
                ++looked;
            }
            CheckLookup(table, probe, false);
        }
        FUZZ_CHECK(blocksSeen.size() <= blocks.size());
    }
    CheckLookup(table, L"OK", false);

    // A second load of the same document appends to the lists.
    if (!languages.empty()) {
        FUZZ_CHECK(table.LoadDocument(data, size));
        FUZZ_CHECK(table.LanguageTags().size() == 2 * languages.size());
        FUZZ_CHECK(table.TextBlockTags().size() == 2 * blocks.size());
    }
    StringTable::DestroyCurrent();
    FUZZ_CHECK(Translate(L"OK") == L"OK");
    return 0;
}
