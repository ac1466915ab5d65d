// The four-language string table that the program carries in its resources,
// and the one table of the process that every lookup uses.
#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// The window whose texts are translated, declared as <windows.h> does, so
// that the table itself builds without it.
struct HWND__;
typedef HWND__* HWND;

class StringTable {
public:
    // Makes a new table the current one (the previous current table is
    // destroyed), loads it from the RCDATA resource of the program and makes
    // "en" its current language when it offers one. A failed load leaves an
    // empty table current; nothing is reported.
    static StringTable& Create(int resourceId);
    // The same with the document given as its bytes, all of them parsed.
    static StringTable& CreateFromDocument(const void* data, std::size_t size);
    // The current table, or null before the first Create.
    static StringTable* Current();
    // Destroys the current table; lookups then return their keys.
    static void DestroyCurrent();

    ~StringTable();
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    // Reads the XML document of the resource and appends its languages and
    // text blocks; the first of each becomes current. False (and the table
    // unchanged) when the resource is missing or empty, the document is
    // malformed, or it has no Root or no Language.
    bool Load(int resourceId);
    // The same for a document given as its bytes (the encoding is detected),
    // all of them parsed.
    bool LoadDocument(const void* data, std::size_t size);

    // Make current the first language or text block with exactly this Tag;
    // false and nothing changed when there is none.
    bool SelectLanguage(const std::wstring& tag);
    bool SelectTextBlock(const std::wstring& tag);

    // Tag of the current language or text block; empty when there is none.
    std::wstring CurrentLanguageTag() const;
    std::wstring CurrentTextBlockTag() const;
    // Tags of all languages and text blocks, in document order.
    std::vector<std::wstring> LanguageTags() const;
    std::vector<std::wstring> TextBlockTags() const;

    // True when the current text block has a Var tagged exactly key; out is
    // then its text in the current language (empty when that String or its
    // Text is missing). False with out equal to key otherwise.
    bool Lookup(const std::wstring& key, std::wstring& out) const;

    // Replaces the texts of the window and of its direct children by their
    // translations; texts without an entry stay as they are. Built with the
    // window code, apart from the table.
    void TranslateWindow(HWND window) const;

private:
    StringTable();
    // Installs a new, empty table as the current one.
    static StringTable& Install();
    void TranslateWindowText(HWND window) const;

    // Every node below points into these documents.
    std::vector<std::shared_ptr<pugi::xml_document>> documents_;
    std::vector<pugi::xml_node> languages_;
    std::vector<pugi::xml_node> textBlocks_;
    pugi::xml_node currentLanguage_;
    pugi::xml_node currentTextBlock_;
};
