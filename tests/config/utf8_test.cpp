// Narrow UTF-8 setting names to UTF-16.
#include "i18n/utf8.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct Utf8Case {
    const char* name;
    std::string narrow;
    std::wstring wide;
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class WideFromUtf8Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(WideFromUtf8Test, Converts) {
    const Utf8Case& c = GetParam();
    EXPECT_EQ(WideFromUtf8(c.narrow.c_str()), c.wide);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WideFromUtf8Test,
    ::testing::Values(
        Utf8Case{"Empty", "", L""}, Utf8Case{"Ascii", "HighQualityTextures", L"HighQualityTextures"},
        Utf8Case{"Latin", "Gr\xC3\xB6\xC3\x9F" "e", L"Gr\x00F6\x00DF" L"e"},
        Utf8Case{"Cyrillic", "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA", L"\x042F\x0437\x044B\x043A"},
        Utf8Case{"ThreeBytes", "\xE2\x82\xAC", L"\x20AC"},
        Utf8Case{"OutsideTheBmp", "a\xF0\x9F\x98\x80z", L"a\xD83D\xDE00z"},
        Utf8Case{"EmbeddedNul", std::string("Cur\0Monitor", 11), L"Cur"},
        Utf8Case{"LeadingNul", std::string("\0x", 2), L""},
        // Malformed input follows the system's replacement rules: one
        // replacement character per bad sequence.
        Utf8Case{"StrayContinuation", "a\x80" "b", L"a\xFFFD" L"b"},
        Utf8Case{"InvalidByte", "\xFF", L"\xFFFD"},
        Utf8Case{"Truncated", "x\xE2\x82", L"x\xFFFD"}),
    [](const ::testing::TestParamInfo<Utf8Case>& info) { return std::string(info.param.name); });

TEST(WideFromUtf8, NullIsEmpty) { EXPECT_EQ(WideFromUtf8(nullptr), L""); }

TEST(WideFromUtf8, ShortTextAfterLongOneIsJustTheShortText) {
    // The scratch buffer keeps the rest of the long text behind the NUL.
    const std::string longText(100000, 'x');
    EXPECT_EQ(WideFromUtf8(longText.c_str()), std::wstring(100000, L'x'));
    EXPECT_EQ(WideFromUtf8("ab"), L"ab");
    EXPECT_EQ(WideFromUtf8(""), L"");
    EXPECT_EQ(WideFromUtf8("\xD0\xAF"), L"\x042F");
    EXPECT_EQ(WideFromUtf8(longText.c_str()), std::wstring(100000, L'x'));
}

}  // namespace
