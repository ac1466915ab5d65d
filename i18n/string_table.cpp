#include "i18n/string_table.h"

#include <cwchar>
#include <new>

namespace {

std::unique_ptr<StringTable>& CurrentSlot() {
    // Destroyed at process exit with the other statics.
    static std::unique_ptr<StringTable> current;
    return current;
}

pugi::xml_node FirstTagged(const std::vector<pugi::xml_node>& nodes, const std::wstring& tag) {
    for (const pugi::xml_node& node : nodes) {
        if (tag == node.attribute(L"Tag").value()) return node;
    }
    return pugi::xml_node();
}

std::vector<std::wstring> Tags(const std::vector<pugi::xml_node>& nodes) {
    std::vector<std::wstring> tags;
    tags.reserve(nodes.size());
    for (const pugi::xml_node& node : nodes) tags.emplace_back(node.attribute(L"Tag").value());
    return tags;
}

}  // namespace

StringTable::StringTable() = default;
StringTable::~StringTable() = default;

StringTable& StringTable::Create(int resourceId) {
    // The table is installed before it loads; the one it replaces is gone from here on.
    CurrentSlot().reset(new StringTable());
    StringTable& table = *CurrentSlot();
    table.Load(resourceId);
    table.SelectLanguage(L"en");
    return table;
}

StringTable* StringTable::Current() { return CurrentSlot().get(); }

void StringTable::DestroyCurrent() { CurrentSlot().reset(); }

bool StringTable::SelectLanguage(const std::wstring& tag) {
    const pugi::xml_node language = FirstTagged(languages_, tag);
    if (!language) return false;
    currentLanguage_ = language;
    return true;
}

bool StringTable::SelectTextBlock(const std::wstring& tag) {
    const pugi::xml_node block = FirstTagged(textBlocks_, tag);
    if (!block) return false;
    currentTextBlock_ = block;
    return true;
}

std::wstring StringTable::CurrentLanguageTag() const { return currentLanguage_.attribute(L"Tag").value(); }

std::wstring StringTable::CurrentTextBlockTag() const { return currentTextBlock_.attribute(L"Tag").value(); }

std::vector<std::wstring> StringTable::LanguageTags() const { return Tags(languages_); }

std::vector<std::wstring> StringTable::TextBlockTags() const { return Tags(textBlocks_); }

bool StringTable::Lookup(const std::wstring& key, std::wstring& out) const {
    try {
        out = key;
        if (!currentTextBlock_ || !currentLanguage_) return false;
        const pugi::char_t* language = currentLanguage_.attribute(L"Tag").value();
        for (pugi::xml_node var = currentTextBlock_.child(L"Var"); var; var = var.next_sibling(L"Var")) {
            // Compared as whole strings, so a key with an embedded NUL never
            // matches the shorter tag in front of it.
            if (key != var.attribute(L"Tag").value()) continue;
            // A later String of the same language replaces an earlier one.
            pugi::xml_node text;
            for (pugi::xml_node string = var.child(L"String"); string; string = string.next_sibling(L"String")) {
                if (std::wcscmp(string.attribute(L"Lang").value(), language) == 0) text = string;
            }
            out = text.attribute(L"Text").value();
            return true;
        }
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
