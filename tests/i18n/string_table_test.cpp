// Loading string tables that are broken in one way each, and the one current
// table of the process.
#include "i18n/string_table.h"
#include "i18n/translate.h"
#include "res/resource_ids.h"
#include "tests/i18n/test_resources.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using Tags = std::vector<std::wstring>;

struct EmptyCase {
    const char* name;
    int resourceId;
};

void PrintTo(const EmptyCase& c, std::ostream* os) { *os << c.name; }

class UnusableDocument : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(UnusableDocument, LeavesTheTableEmptyAndEveryTextUnchanged) {
    StringTable& table = StringTable::Create(GetParam().resourceId);
    EXPECT_TRUE(table.LanguageTags().empty());
    EXPECT_TRUE(table.TextBlockTags().empty());
    EXPECT_EQ(table.CurrentLanguageTag(), L"");
    EXPECT_EQ(table.CurrentTextBlockTag(), L"");
    EXPECT_FALSE(table.SelectLanguage(L"de"));
    EXPECT_FALSE(table.SelectTextBlock(L"Screensaver Settings Dialog"));
    std::wstring out;
    EXPECT_FALSE(table.Lookup(L"", out));
    EXPECT_EQ(Translate(L"Cancel"), L"Cancel");
    EXPECT_EQ(Translate(L""), L"");
    // Loading it again reports the failure and still changes nothing.
    EXPECT_FALSE(table.Load(GetParam().resourceId));
    EXPECT_TRUE(table.LanguageTags().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Documents, UnusableDocument,
    ::testing::Values(EmptyCase{"NoLineBreakAfterRoot", IDR_NO_FINAL_BREAK}, EmptyCase{"NoLanguages", IDR_NO_LANGUAGES},
                      EmptyCase{"EmptyLanguages", IDR_EMPTY_LANGUAGES},
                      EmptyCase{"LanguageInOtherCase", IDR_LOWERCASE_LANGUAGE},
                      EmptyCase{"RootInOtherCase", IDR_WRONG_ROOT}, EmptyCase{"Malformed", IDR_MALFORMED},
                      EmptyCase{"EmptyResource", IDR_EMPTY}, EmptyCase{"OneByteResource", IDR_ONE_BYTE},
                      EmptyCase{"NoSuchResource", IDR_ABSENT}),
    [](const ::testing::TestParamInfo<EmptyCase>& info) { return std::string(info.param.name); });

TEST(StringTableLoad, ReadsTheDocumentWhenAnyByteFollowsTheClosingTag) {
    // The same document as the one without a line break, ending in a bare LF.
    StringTable& table = StringTable::Create(IDR_FINAL_BREAK_LF);
    EXPECT_EQ(table.LanguageTags(), (Tags{L"en", L"de"}));
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    EXPECT_EQ(Translate(L"Cancel"), L"Abbrechen");
}

// A document given as bytes is parsed whole: unlike the resource, no last
// byte is held back. UTF-16 is detected from its byte-order mark.
TEST(StringTableLoad, ADocumentFromBytesIsReadToItsLastByte) {
    const std::string utf8 =
        "<Root><Languages><Language Tag=\"de\"/><Language Tag=\"en\"/></Languages>"
        "<TextBlock Tag=\"B\"><Var Tag=\"Cancel\"><String Lang=\"de\" Text=\"Abbrechen\"/></Var></TextBlock></Root>";
    StringTable& table = StringTable::CreateFromDocument(utf8.data(), utf8.size());
    EXPECT_EQ(table.LanguageTags(), (Tags{L"de", L"en"}));
    EXPECT_EQ(table.CurrentLanguageTag(), L"en");
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    EXPECT_EQ(Translate(L"Cancel"), L"Abbrechen");

    std::u16string utf16 = u"\xFEFF<Root><Languages><Language Tag=\"fr\"/></Languages></Root>";
    StringTable& wide = StringTable::CreateFromDocument(utf16.data(), utf16.size() * sizeof(char16_t));
    EXPECT_EQ(wide.LanguageTags(), (Tags{L"fr"}));
    // One byte short, the closing tag is broken and nothing loads.
    EXPECT_FALSE(wide.LoadDocument(utf8.data(), utf8.size() - 1));
    EXPECT_EQ(wide.LanguageTags(), (Tags{L"fr"}));
}

TEST(StringTableLoad, LoadReportsSuccessAndMakesTheFirstLanguageCurrent) {
    StringTable& table = StringTable::Create(IDR_ABSENT);
    EXPECT_TRUE(table.Load(IDR_STRING_TABLE));
    EXPECT_EQ(table.LanguageTags().size(), 4u);
    EXPECT_EQ(table.CurrentLanguageTag(), L"ru");
}

TEST(StringTableLoad, LanguagesWithoutTextBlockLoadButFindNothing) {
    StringTable& table = StringTable::Create(IDR_NO_TEXT_BLOCK);
    EXPECT_EQ(table.LanguageTags(), (Tags{L"en", L"de"}));
    EXPECT_TRUE(table.TextBlockTags().empty());
    EXPECT_EQ(table.CurrentTextBlockTag(), L"");
    EXPECT_FALSE(table.SelectTextBlock(L"Screensaver Settings Dialog"));
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    std::wstring out;
    for (const wchar_t* key : {L"Cancel", L""}) {
        EXPECT_FALSE(table.Lookup(key, out));
        EXPECT_EQ(out, key);
        EXPECT_EQ(Translate(key), key);
    }
}

TEST(StringTableLoad, WithoutEnglishTheFirstLanguageStaysCurrent) {
    StringTable& table = StringTable::Create(IDR_NO_ENGLISH);
    EXPECT_EQ(table.CurrentLanguageTag(), L"de");
    EXPECT_FALSE(table.SelectLanguage(L"en"));
    EXPECT_EQ(table.CurrentLanguageTag(), L"de");
    EXPECT_EQ(Translate(L"Cancel"), L"Abbrechen");
    EXPECT_TRUE(table.SelectLanguage(L"fr"));
    EXPECT_EQ(Translate(L"Cancel"), L"Annuler");
}

TEST(StringTableLoad, PassesOverElementsOfOtherNames) {
    StringTable& table = StringTable::Create(IDR_INTERLEAVED);
    // Only the first Languages element counts.
    EXPECT_EQ(table.LanguageTags(), (Tags{L"en", L"de"}));
    EXPECT_EQ(table.TextBlockTags(), (Tags{L"Screensaver Settings Dialog", L"Screensaver"}));
    EXPECT_FALSE(table.SelectLanguage(L"fr"));
    EXPECT_FALSE(table.SelectLanguage(L"gsw"));
    EXPECT_FALSE(table.SelectTextBlock(L"Hidden"));
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    EXPECT_EQ(Translate(L"OK"), L"Jawohl");
    EXPECT_EQ(Translate(L"Cancel"), L"Abbrechen");
    EXPECT_EQ(Translate(L"Loading..."), L"Loading...");
    ASSERT_TRUE(table.SelectTextBlock(L"Screensaver"));
    EXPECT_EQ(Translate(L"Loading..."), L"Wird geladen...");
}

struct LookupCase {
    const char* name;
    int resourceId;
    const wchar_t* language;
    const wchar_t* key;
    bool found;
    const wchar_t* text;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }

class LookupInDocument : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupInDocument, FindsTheTextOfTheCurrentLanguage) {
    const LookupCase& c = GetParam();
    StringTable& table = StringTable::Create(c.resourceId);
    ASSERT_TRUE(table.SelectLanguage(c.language));
    std::wstring out = L"stale";
    EXPECT_EQ(table.Lookup(c.key, out), c.found);
    EXPECT_EQ(out, c.text);
    EXPECT_EQ(Translate(c.key), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LookupInDocument,
    ::testing::Values(
        // A Var without the current language's String counts as found, with no text.
        LookupCase{"StringMissing", IDR_MISSING_STRING, L"de", L"Cancel", true, L""},
        LookupCase{"TextMissing", IDR_MISSING_STRING, L"de", L"Remove", true, L""},
        LookupCase{"LangInOtherCase", IDR_MISSING_STRING, L"de", L"Shuffle", true, L""},
        LookupCase{"OtherLanguagePresent", IDR_MISSING_STRING, L"fr", L"Cancel", true, L"Annuler"},
        LookupCase{"OtherLanguageText", IDR_MISSING_STRING, L"fr", L"Remove", true, L"Retirer"},
        LookupCase{"CompleteRow", IDR_MISSING_STRING, L"de", L"OK", true, L"OK"},
        LookupCase{"LaterStringWins", IDR_DUPLICATES, L"de", L"Cancel", true, L"Abbrechen"},
        LookupCase{"LaterEmptyStringWins", IDR_DUPLICATES, L"de", L"Add...", true, L""},
        LookupCase{"FirstVarWins", IDR_DUPLICATES, L"de", L"Remove", true, L"Entfernen"},
        LookupCase{"FirstVarWinsInEnglish", IDR_DUPLICATES, L"en", L"Remove", true, L"Remove"},
        LookupCase{"FirstOfTwoEqualBlocks", IDR_DUPLICATES, L"de", L"OK", false, L"OK"},
        LookupCase{"KeyInOtherCase", IDR_STRING_TABLE, L"de", L"cancel", false, L"cancel"},
        LookupCase{"KeyWithTrailingBlank", IDR_STRING_TABLE, L"de", L"Cancel ", false, L"Cancel "},
        LookupCase{"KeyCutShort", IDR_STRING_TABLE, L"de", L"Cance", false, L"Cance"}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST(StringTableLookup, KeyWithEmbeddedNulDoesNotMatchItsFrontPart) {
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(table.SelectLanguage(L"de"));
    const std::wstring key(L"Cancel\0Remove", 13);
    std::wstring out;
    EXPECT_FALSE(table.Lookup(key, out));
    EXPECT_EQ(out, key);
    EXPECT_EQ(Translate(key), key);
}

TEST(StringTableSelect, UnknownTagsChangeNothing) {
    StringTable& table = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(table.SelectLanguage(L"fr"));
    for (const wchar_t* tag : {L"", L"FR", L"de ", L"es", L"english"}) {
        EXPECT_FALSE(table.SelectLanguage(tag));
        EXPECT_FALSE(table.SelectTextBlock(tag));
    }
    EXPECT_FALSE(table.SelectTextBlock(L"screensaver settings dialog"));
    EXPECT_EQ(table.CurrentLanguageTag(), L"fr");
    EXPECT_EQ(table.CurrentTextBlockTag(), L"Screensaver Settings Dialog");
    EXPECT_EQ(Translate(L"Cancel"), L"Annuler");
}

TEST(CurrentStringTable, ANewTableReplacesTheOldOne) {
    StringTable& first = StringTable::Create(IDR_STRING_TABLE);
    ASSERT_TRUE(first.SelectLanguage(L"de"));
    ASSERT_EQ(Translate(L"Cancel"), L"Abbrechen");

    StringTable& second = StringTable::Create(IDR_NO_ENGLISH);
    EXPECT_EQ(StringTable::Current(), &second);
    ASSERT_TRUE(second.SelectLanguage(L"fr"));
    EXPECT_EQ(Translate(L"Cancel"), L"Annuler");
    // Rows of the first table are gone with it.
    EXPECT_EQ(Translate(L"Remove"), L"Remove");

    // A fresh table starts in English again, whatever its predecessor chose.
    StringTable& third = StringTable::Create(IDR_STRING_TABLE);
    EXPECT_EQ(StringTable::Current(), &third);
    EXPECT_EQ(third.CurrentLanguageTag(), L"en");
    EXPECT_EQ(Translate(L"Cancel"), L"Cancel");
}

TEST(CurrentStringTable, WithoutATableEveryTextIsItsKey) {
    StringTable::Create(IDR_STRING_TABLE).SelectLanguage(L"de");
    StringTable::DestroyCurrent();
    EXPECT_EQ(StringTable::Current(), nullptr);
    for (const wchar_t* key : {L"Cancel", L"", L"Playlist", L"Error!"}) EXPECT_EQ(Translate(key), key);
}

}  // namespace
