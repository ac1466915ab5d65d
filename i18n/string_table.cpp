#include "i18n/string_table.h"

#include <cwchar>
#include <new>
#include <utility>

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

StringTable& StringTable::Install() {
    // The table is installed before it loads; the one it replaces is gone from here on.
    CurrentSlot().reset(new StringTable());
    return *CurrentSlot();
}

StringTable& StringTable::CreateFromDocument(const void* data, std::size_t size) {
    StringTable& table = Install();
    table.LoadDocument(data, size);
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

bool StringTable::LoadDocument(const void* data, std::size_t size) {
    auto document = std::make_shared<pugi::xml_document>();
    // Default options and automatic encoding: the byte-order mark selects UTF-8.
    if (!document->load_buffer(data, size)) return false;

    const pugi::xml_node root = document->child(L"Root");
    if (!root) return false;
    const pugi::xml_node firstLanguage = root.child(L"Languages").child(L"Language");
    if (!firstLanguage) return false;

    // The table is touched only once the document is known to be usable.
    currentLanguage_ = firstLanguage;
    for (pugi::xml_node language = firstLanguage; language; language = language.next_sibling(L"Language")) {
        languages_.push_back(language);
    }
    currentTextBlock_ = root.child(L"TextBlock");
    for (pugi::xml_node block = currentTextBlock_; block; block = block.next_sibling(L"TextBlock")) {
        textBlocks_.push_back(block);
    }
    documents_.push_back(std::move(document));
    return true;
}
