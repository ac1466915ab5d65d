// The decimal text of integers of every width and sign.
#include "framework/decimal_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

using framework::DecimalText;

TEST(DecimalText, WritesSignedIntegers) {
    EXPECT_EQ(DecimalText(std::int32_t{0}), L"0");
    EXPECT_EQ(DecimalText(std::int32_t{7}), L"7");
    EXPECT_EQ(DecimalText(std::int32_t{10}), L"10");
    EXPECT_EQ(DecimalText(std::int32_t{-1}), L"-1");
    EXPECT_EQ(DecimalText(std::int32_t{-100}), L"-100");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int32_t>::max()), L"2147483647");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int32_t>::min()), L"-2147483648");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::int64_t>::min()), L"-9223372036854775808");
    EXPECT_EQ(DecimalText(std::int8_t{-128}), L"-128");
}

TEST(DecimalText, WritesUnsignedIntegers) {
    EXPECT_EQ(DecimalText(std::uint32_t{4294967295u}), L"4294967295");
    EXPECT_EQ(DecimalText(std::uint64_t{4294967296u}), L"4294967296");
    EXPECT_EQ(DecimalText(std::numeric_limits<std::uint64_t>::max()), L"18446744073709551615");
    EXPECT_EQ(DecimalText(std::uint16_t{65535}), L"65535");
}

}  // namespace
