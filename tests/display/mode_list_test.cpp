// The candidate list, its order and the text of a mode.
#include "display/mode_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr std::int32_t kX8R8G8B8 = 22;
constexpr std::int32_t kA8R8G8B8 = 21;
constexpr std::int32_t kR5G6B5 = 23;

struct Offered {
    std::uint32_t width, height;
    std::int32_t format;
};

struct CandidateCase {
    const char* name;
    std::vector<Offered> offered;
    std::vector<Offered> listed;  // after sorting
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const CandidateCase& c, std::ostream* os) {
    *os << c.name;
}

class CandidateListTest : public ::testing::TestWithParam<CandidateCase> {};

TEST_P(CandidateListTest, KeepsDistinctLargeEnoughModesInOrder) {
    auto list = std::make_unique<CandidateList>(kX8R8G8B8);
    for (const Offered& mode : GetParam().offered) list->Offer(mode.width, mode.height, mode.format);
    list->Sort();
    const std::vector<Offered>& listed = GetParam().listed;
    ASSERT_EQ(list->count(), listed.size());
    for (std::uint32_t i = 0; i < list->count(); ++i) {
        EXPECT_EQ((*list)[i].Width, listed[i].width) << i;
        EXPECT_EQ((*list)[i].Height, listed[i].height) << i;
        EXPECT_EQ((*list)[i].Format, listed[i].format) << i;
        EXPECT_EQ((*list)[i].RefreshRate, 0u) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CandidateListTest,
    ::testing::Values(
        CandidateCase{"RefreshRatesCollapse", {{1024, 768, kX8R8G8B8}, {1024, 768, kX8R8G8B8}}, {{1024, 768, kX8R8G8B8}}},
        CandidateCase{"SmallestAcceptedIs640x480",
                      {{720, 400, kX8R8G8B8}, {512, 384, kX8R8G8B8}, {640, 480, kX8R8G8B8}, {639, 1024, kX8R8G8B8},
                       {1024, 479, kX8R8G8B8}},
                      {{640, 480, kX8R8G8B8}}},
        CandidateCase{"WidthThenHeight",
                      {{1280, 1024, kX8R8G8B8}, {800, 600, kX8R8G8B8}, {1280, 720, kX8R8G8B8}, {1024, 768, kX8R8G8B8}},
                      {{800, 600, kX8R8G8B8}, {1024, 768, kX8R8G8B8}, {1280, 720, kX8R8G8B8}, {1280, 1024, kX8R8G8B8}}},
        CandidateCase{"LargerFormatFirst",
                      {{800, 600, kA8R8G8B8}, {800, 600, kR5G6B5}, {800, 600, kX8R8G8B8}},
                      {{800, 600, kR5G6B5}, {800, 600, kX8R8G8B8}, {800, 600, kA8R8G8B8}}},
        // Format codes are compared as signed numbers.
        CandidateCase{"NegativeFormatLast", {{800, 600, -5}, {800, 600, kX8R8G8B8}}, {{800, 600, kX8R8G8B8}, {800, 600, -5}}},
        // Sizes are compared as unsigned numbers.
        CandidateCase{"HugeWidthLast", {{0x80000000u, 600, kX8R8G8B8}, {800, 600, kX8R8G8B8}},
                      {{800, 600, kX8R8G8B8}, {0x80000000u, 600, kX8R8G8B8}}},
        CandidateCase{"Empty", {}, {}}),
    [](const ::testing::TestParamInfo<CandidateCase>& info) { return info.param.name; });

TEST(CandidateList, KeepsTheFirstHundredDistinctModesAndNeverMore) {
    auto list = std::make_unique<CandidateList>(kX8R8G8B8);
    // Offered from the largest down, so the kept ones are not the smallest.
    for (std::uint32_t i = 0; i < 150; ++i) list->Offer(2000 - i, 1000, kX8R8G8B8);
    list->Offer(2000, 1000, kX8R8G8B8);  // a repeat of a kept one: still 100
    list->Offer(640, 480, kR5G6B5);      // a new format after the list is full
    list->Sort();
    ASSERT_EQ(list->count(), kMaxCandidates);
    EXPECT_EQ((*list)[0].Width, 1901u);
    EXPECT_EQ((*list)[99].Width, 2000u);
    EXPECT_FALSE(list->formats().Contains(kR5G6B5));
}

TEST(CandidateList, FormatListStartsWithTheDesktopFormatThenFirstAppearance) {
    auto list = std::make_unique<CandidateList>(kA8R8G8B8);
    list->Offer(800, 600, kX8R8G8B8);
    list->Offer(1024, 768, kA8R8G8B8);
    list->Offer(1024, 768, kR5G6B5);
    list->Offer(1280, 1024, kX8R8G8B8);
    list->Offer(320, 200, 99);  // dropped mode: its format is not listed
    const FormatList& formats = list->formats();
    ASSERT_EQ(formats.count, 3u);
    EXPECT_EQ(formats.formats[0], kA8R8G8B8);
    EXPECT_EQ(formats.formats[1], kX8R8G8B8);
    EXPECT_EQ(formats.formats[2], kR5G6B5);
}

TEST(CandidateList, FormatListHoldsAHundredAndOneDistinctFormats) {
    auto list = std::make_unique<CandidateList>(-1);
    for (std::int32_t f = 0; f < 120; ++f) list->Offer(640 + static_cast<std::uint32_t>(f), 480, f);
    EXPECT_EQ(list->formats().count, kMaxFormats);
    EXPECT_EQ(list->formats().formats[0], -1);
    EXPECT_EQ(list->formats().formats[100], 99);
}

struct TextCase {
    ModeRecord mode;
    const wchar_t* text;
};

// Names the case in test listings instead of a byte dump.
void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.mode.Width << "x" << c.mode.Height << "f" << c.mode.Format;
}

class FormatModeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(FormatModeTextTest, ShowsSizeAndColourDepth) { EXPECT_EQ(FormatModeText(GetParam().mode), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Formats, FormatModeTextTest,
                         ::testing::Values(TextCase{{1280, 1024, 22}, L"1280 x 1024 x 32"},
                                           TextCase{{1024, 768, 21}, L"1024 x 768 x 32"},
                                           TextCase{{800, 600, 23}, L"800 x 600 x 16"},
                                           TextCase{{640, 480, 24}, L"640 x 480 x 16"},
                                           TextCase{{640, 480, 25}, L"640 x 480 x 0"},
                                           TextCase{{640, 480, 20}, L"640 x 480 x 0"},
                                           TextCase{{2147483647u, 2147483647u, 22}, L"2147483647 x 2147483647 x 32"},
                                           TextCase{{2147483648u, 4294967295u, -1}, L"-2147483648 x -1 x 0"}));

}  // namespace
