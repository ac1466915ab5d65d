// Loading the string table from the XML document in the program's resources.
#include "i18n/string_table.h"

#include "framework/handles.h"

#include <utility>

bool StringTable::Load(int resourceId) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    if (!info) return false;
    const framework::LoadedResource resource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const void* data = resource.Lock();
    if (!data || size == 0) return false;
    // The stored document ends with a line break that the parser is not given.
    return LoadDocument(data, size - 1);
}

bool StringTable::LoadDocument(const void* data, size_t size) {
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
